// The image-processing library: every operation on the shared picture record. Operations return
// 1 on success and 0 after printing a one-line failure report; they keep no state between calls
// besides the lookup tables and may run on any thread.
#pragma once

#include "image/ops/blend.h"
#include "image/ops/blur.h"
#include "image/ops/clipping.h"
#include "image/ops/colour_filters.h"
#include "image/ops/difference.h"
#include "image/ops/flip.h"
#include "image/ops/hsl_filter.h"
#include "image/ops/image_tables.h"
#include "image/ops/mosaic.h"
#include "image/ops/resize.h"
#include "image/ops/rotate.h"
#include "image/ops/solid_colour.h"
#include "image/ops/transparency.h"
#include "image/ops/worker_bands.h"
