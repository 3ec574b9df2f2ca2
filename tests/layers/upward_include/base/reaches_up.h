// A ground-layer header that reaches up into the engine's top: the layer check must refuse it.
#pragma once

#include "engine/startup.h"
