// Input of the layering check's own test: forbidden includes among allowed ones.
#pragma once

#include "core/job.h"
#include "platform/linux/logind_power.h"
#include "run/run_engine.h"
#include "settings/settings_file.h"
#include <QString>
#include <QtWidgets/QLabel>
