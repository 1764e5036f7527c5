// Input of the layering check's own test.
#include "shell/tray_text.h"
  #  include <QMessageBox>
