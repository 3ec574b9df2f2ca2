// The displays' current modes as SDL reports them, for the system report.
#pragma once

#include "report/machine_probe.h"

namespace vellum {

// Empty when SDL's video subsystem is not running (nothing is started here).
DisplayProbe probeDisplays();

}  // namespace vellum
