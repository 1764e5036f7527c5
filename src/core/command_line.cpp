#include "core/command_line.h"
