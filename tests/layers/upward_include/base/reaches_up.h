// A ground-layer header that reaches up into the engine's top and talks to the window system
// itself: the layer check must refuse both.
#pragma once

#include <SDL.h>

#include "engine/startup.h"
