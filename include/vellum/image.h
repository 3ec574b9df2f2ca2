/* The decoded picture shared by the engine and plug-ins. Pixels are 32-bit words 0xAARRGGBB
 * (bytes blue, green, red, alpha in memory), rows top-down with a stride of width * 4 bytes, in
 * 16-byte-aligned storage owned by the record; one extra zero row follows the last row so filters
 * may read one row past the end. */
#ifndef VELLUM_IMAGE_H
#define VELLUM_IMAGE_H

#include <stdint.h>

typedef struct Image {
  char name[256];      /* layer or file name from the file's metadata, NUL-terminated; empty when none */
  int32_t left;        /* layer position and blend mode from the metadata; 0 when absent */
  int32_t top;
  int32_t mode;
  int32_t width;       /* both at least 1 */
  int32_t height;
  int32_t bitsPerPixel; /* 8 (grey in all three colour bytes), 24 (alpha 255 everywhere) or 32 */
  int32_t pixelCount;  /* width * height */
  uint32_t* pixels;    /* (height + 1) * width words */
} Image;

#endif /* VELLUM_IMAGE_H */
