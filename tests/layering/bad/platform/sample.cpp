// Input of the layering check's own test: a backend may include ports, not the tests' fakes.
#include "core/ports/power.h"
#include "platform/linux/logind_power.h"
#include "support/fake/fake_services.h"
