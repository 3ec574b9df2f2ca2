/* Functions the Vellum executable exports to plug-in libraries (`.so` files in a game's plugin/
 * folder, or loaded by a script with loadLibrary). A plug-in declares nothing else: it includes this
 * header and calls the functions; the dynamic linker resolves them against the running engine.
 *
 * Conventions:
 * - Text is bytes in the game's double-byte code page (GBK) unless a name says UTF-8 or UTF-16.
 * - "buffer" arguments are caller memory that must be large enough: formatting a 64-bit number
 *   needs at most 24 bytes, a float at most 48, a double at most 320 (every digit of its integer
 *   part is written, up to 309 of them).
 * - Blocks returned by loadFile and by the encoding conversions are released with freeMemory.
 *
 * Every declaration marked VELLUM_API or VELLUM_CXX_API is exported; the build derives the
 * executable's dynamic symbol list from this file. */
#ifndef VELLUM_EXPORTS_H
#define VELLUM_EXPORTS_H

#include <stddef.h>
#include <stdint.h>

#include <vellum/gpu.h>
#include <vellum/image.h>
#include <vellum/squirrel.h>

#ifdef __cplusplus
#define VELLUM_API extern "C" __attribute__((visibility("default")))
#define VELLUM_CXX_API __attribute__((visibility("default")))
#include <string>
#else
#define VELLUM_API extern __attribute__((visibility("default")))
#endif

/* ---- hashing ------------------------------------------------------------------------------- */
/* Reflected CRC-32 (zlib's) and non-reflected CRC-64 (ECMA-182 polynomial, all-ones start, final
 * complement) over a NUL-terminated string or a byte range. Stored files are keyed by crc64_hash of
 * their path as the script writes it. */
VELLUM_API uint32_t crc32_hash(const char* text);
VELLUM_API uint32_t crc32_hash2(const void* bytes, size_t length);
VELLUM_API uint64_t crc64_hash(const char* text);
VELLUM_API uint64_t crc64_hash2(const void* bytes, size_t length);

/* ---- game files ---------------------------------------------------------------------------- */
/* Loads a game file (from the archives, else loose under the game folder), descrambled and
 * inflated. *buffer and *capacity are the caller's buffer; it is replaced by a larger
 * 16-byte-aligned block when too small. A nonzero *size limits a plain read; on return *size is
 * the data length. Returns 1 on success, 0 after reporting the failure. */
VELLUM_API int loadFile(const char* path, void** buffer, uint32_t* size, uint32_t* capacity);
/* Addresses of the engine's shared load buffer and its capacity, to pass to loadFile. Either
 * output may be null. Main thread only. */
VELLUM_API void getFileMemory(void*** buffer, uint32_t** capacity);
/* Frees a block allocated by loadFile or by an encoding conversion. */
VELLUM_API void freeMemory(void* block);

/* ---- error reporting ----------------------------------------------------------------------- */
/* errorc adds the context of the running script (call stack and current command); errord reports
 * the text as it is. With showBox nonzero the report goes to the error box and Information.txt,
 * otherwise to standard output. */
VELLUM_API void errorc(const char* message, int showBox);
VELLUM_API void errord(const char* message, int showBox);

/* ---- screen -------------------------------------------------------------------------------- */
/* The render width, and the game height at that width (game height x render width / game width).
 * Both are 0 before the screen is set up. */
VELLUM_API int getScreenWidth(void);
VELLUM_API int getScreenHeight(void);

/* ---- sound --------------------------------------------------------------------------------- */
/* This engine's sound device is not DirectSound: *out is set to null. */
VELLUM_API void getDirectSound(void** out);
/* Pointers to a pair of settings: kind 0 = (StreamBufferSize, GlobalFocus), 1 master, 2 movie,
 * 3 music, 4 effects, 5 system effects, 6 voices, 7 system voices (volume, on-flag). Other kinds
 * leave the outputs untouched. The getSound* functions are kinds 0..7 in that order. */
VELLUM_API void getVolumeMute(int kind, int** volume, int** flag);
VELLUM_API void getSoundFlag(int** volume, int** flag);
VELLUM_API void getSoundMaster(int** volume, int** flag);
VELLUM_API void getSoundMovie(int** volume, int** flag);
VELLUM_API void getSoundBgm(int** volume, int** flag);
VELLUM_API void getSoundSe(int** volume, int** flag);
VELLUM_API void getSoundSysSe(int** volume, int** flag);
VELLUM_API void getSoundVo(int** volume, int** flag);
VELLUM_API void getSoundSysVo(int** volume, int** flag);
/* The script's sd, sd_stop and sd_status (file names are Shift-JIS bytes). sd returns 0, or -1 when
 * the file cannot be loaded; sd_status returns 0 while a delayed request waits. */
VELLUM_API int sd(int channel, const char* file, int fadeIn, int delay, int volume, int pan, int loops, int start);
VELLUM_API int sd_stop(int channel, int fadeOut, int delay);
VELLUM_API int sd_status(int channel);

/* ---- script VMs ---------------------------------------------------------------------------- */
struct lua_State;
/* Stores the engine's Lua state (null before the first loadLua) through the argument. */
VELLUM_API void getVMLua(struct lua_State** state);
/* Stores the address of the name of the command now running (a NUL-terminated, 128-byte buffer). */
VELLUM_API void getErrorCmd(char** name);
/* Stores the engine's Squirrel VM (null before the first loadSqu or script-function call, and after
 * an error closed it) through the argument. The Squirrel C API of vellum/squirrel.h and the
 * standard libraries of vellum/squirrel_std.h are exported as well. */
VELLUM_API void getVMSquirrel(HSQUIRRELVM* vm);
/* Adds a native closure named name to the root table. */
VELLUM_API void sq_register_func(HSQUIRRELVM vm, const char* name, SQFUNCTION function);
/* One member of a class made by sq_register_class: its name, the native function, and the
 * parameter check of sq_setparamscheck (count, including `this`, and type mask, null for none). */
typedef struct SquirrelClassMember {
  const char* name;
  SQFUNCTION function;
  SQInteger parameterCount;
  const char* typeMask;
} SquirrelClassMember;
/* Creates a class named className in the root table with the members of the array, which ends
 * with a member whose name is null. A member named "constructor" is the constructor. */
VELLUM_API void sq_register_class(HSQUIRRELVM vm, const char* className, const SquirrelClassMember* members);
/* Adds an integer constant to the const table; while a Squirrel call runs the engine (a plug-in
 * function called from a script) the slot goes into the object at stack index 1 instead. */
VELLUM_API void sq_const_int(HSQUIRRELVM vm, const char* name, SQInteger value);
/* ---- pictures ------------------------------------------------------------------------------ */
/* Image records (see image.h). createImage makes a zeroed picture (null when a side is not
 * positive or memory runs out); freeImage frees it and clears *image. */
VELLUM_API Image* createImage(int32_t width, int32_t height, int32_t bitsPerPixel);
VELLUM_API void freeImage(Image** image);
/* Decodes TLG0/TLG5/TLG6, PNG, JPEG, BMP or TGA bytes (detected from the first bytes) into a new
 * Image, or returns null after printing the reason on the console. */
VELLUM_API Image* loadImage(const void* data, uint32_t length);
/* Decodes BMP, PNG, JPEG or TGA bytes into the caller's Image, which must have the file's size.
 * Returns 1 on success, 0 after printing the reason. */
VELLUM_API int loadImageData(Image* image, const void* data, uint32_t length);
/* The file's width, height and bits per pixel without decoding; any output may be null.
 * Returns 1 when the bytes are a picture, else 0. */
VELLUM_API int loadHeader(const void* data, uint32_t length, int32_t* width, int32_t* height,
                          int32_t* bitsPerPixel);
/* Writes the picture to fileName (a game path): format 0 BMP, 1 PNG, 2 JPEG, 3 TLG.
 *   BMP:  option1 bits per pixel (0 the image's own, 8, 24, 32).
 *   PNG:  option1 bits, option2 zlib level, option3 non-zero for Adam7 interlacing.
 *   JPEG: option1 bits (0, 8 grey, 24) plus 0x20 for an alpha channel (32 alone also asks for
 *         alpha), option2 quality 0-100, option3 bit 0 optimised Huffman tables, bit 1
 *         progressive, bits 2-3 chroma sampling (0 4:2:0, 1 4:2:2, 2 4:4:4, 3 default).
 *   TLG:  option1 bits (8, 24, 32 or 0), option2 non-zero TLG6, zero TLG5.
 * A picture with a name or a mode also stores its name, position and mode (PNG, JPEG, TLG); the
 * name's three-letter extension is changed in place to the written format's. Returns 1 on
 * success, 0 after printing the reason. */
VELLUM_API int saveImage(const char* fileName, Image* image, int32_t format, int32_t option1, int32_t option2,
                         int32_t option3);

/* ---- number formatting (write into buffer, return buffer) ---------------------------------- */
VELLUM_API char* itoa10(int32_t value, char* buffer);
VELLUM_API char* itoa16(uint32_t value, char* buffer);
VELLUM_API char* itoa32(uint32_t value, char* buffer);
VELLUM_API char* ultoa10(uint32_t value, char* buffer);
VELLUM_API char* ttoa10(uint32_t value, char* buffer);
VELLUM_API char* lltoa10(int64_t value, char* buffer);
VELLUM_API char* ulltoa10(uint64_t value, char* buffer);
VELLUM_API char* ulltoa16(uint64_t value, char* buffer);
VELLUM_API char* ulltoa32(uint64_t value, char* buffer);
VELLUM_API char* ftoa10(float value, char* buffer);
VELLUM_API char* dtoa10(double value, char* buffer);

/* ---- number parsing (no validation: non-digits count as 0) --------------------------------- */
VELLUM_API int32_t atoi10(const char* text);
VELLUM_API uint32_t atoul10(const char* text);
VELLUM_API uint32_t atoi16(const char* text);
VELLUM_API uint32_t atoi32(const char* text);
VELLUM_API int64_t atoll10(const char* text);
VELLUM_API uint64_t atoull10(const char* text);
VELLUM_API uint64_t atoull16(const char* text);
VELLUM_API uint64_t atoull32(const char* text);
VELLUM_API float atof10(const char* text);
VELLUM_API double atod10(const char* text);

/* ---- encoding conversions ------------------------------------------------------------------ */
/* *length is the input length in bytes on entry and the output length in bytes (terminator not
 * counted) on return. The result is a new block (free it with freeMemory), or null. Nothing past
 * the input length is read: a character cut off by it is dropped. */
VELLUM_API uint16_t* sjis_to_utf16(const char* text, uint32_t* length);
VELLUM_API char* sjis_to_utf8(const char* text, uint32_t* length);
/* With bufferSize nonzero the UTF-8 result is copied over text (which must hold bufferSize bytes)
 * and text is returned; null when it does not fit (*length then still tells the output size). */
VELLUM_API char* sjis_to_utf8_s(char* text, uint32_t* length, uint32_t bufferSize);
VELLUM_API char* utf16_to_utf8(const uint16_t* units, uint32_t* length);
VELLUM_API char* utf16_to_sjis(const uint16_t* units, uint32_t* length);
VELLUM_API char* utf8_to_sjis(const char* text, uint32_t* length);
VELLUM_API uint16_t* utf8_to_utf16(const char* text, uint32_t* length);

/* ---- math ---------------------------------------------------------------------------------- */
/* Angle of (x, y) in radians from a table of atan(i / 256), i = 0 ... 256; (0, 0) gives 0. */
VELLUM_API float atan2_fast(int32_t y, int32_t x);
/* Implementations chosen at start-up (table-driven by default). */
VELLUM_API float (*sin_simd)(float radians);
VELLUM_API float (*cos_simd)(float radians);
VELLUM_API void (*sincos_simd)(float radians, float* sine, float* cosine);
VELLUM_API float (*sqrt_simd)(float value);
VELLUM_API float (*rsqrt_simd)(float value);
VELLUM_API void* (*memcpy_simd)(void* destination, const void* source, size_t length);

/* ---- image processing ---------------------------------------------------------------------- */
/* Operations on decoded pictures (see vellum/image.h). Each returns 1 on success; on failure it
 * prints one line "-CODE: text" on standard output (a Japanese text, shown as UTF-8), returns 0
 * and leaves the caller's pointers as they were.
 * - An `out` parameter receives the result: a null *out gets a new picture, one of another size
 *   is freed and replaced, one of the right size is written into.
 * - Names ending in 2 compute a new picture and replace *image with it (the old one is freed).
 * - Rectangles and positions may reach outside; they are clipped to the pictures. Widths or
 *   heights <= 0 in a rectangle stand for the picture's own.
 * - Blend modes 0-21: 0 replace, 1 normal, 2 add, 3 subtract, 4 multiply, 5 divide, 6 screen,
 *   7 lighten, 8 darken, 9 difference, 10 exclusion, 11 add, 12 colour dodge, 13 linear burn,
 *   14 colour burn, 15 overlay, 16 hard light, 17 soft light, 18 vivid light, 19 linear light,
 *   20 pin light, 21 hard mix. Opacity is out of 256.
 * - Resize kinds: 0 percentages, 1 pixels, 2 factors (a zero side keeps the aspect). Shrink
 *   filters: 0 nearest, 1 area average, 2 bilinear; enlarge filters: 0 nearest, 1 bilinear,
 *   2 bicubic; rotate filters: 0 nearest, 1 bilinear. Rotation is counter-clockwise on screen. */
VELLUM_API int color2colorImage(Image* image, uint32_t from, uint32_t to, int kind);
VELLUM_API int clippingImage(Image** out, const Image* image, int x, int y, int width, int height);
VELLUM_API int clippingImage2(Image** image, int x, int y, int width, int height);
VELLUM_API int eraseImage(Image* image, int x, int y, int width, int height);
/* Clips to the visible part: alpha above alphaThreshold, or with byColour non-zero a colour other
 * than the top-left pixel's; margin pixels are kept around it. */
VELLUM_API int trimmingImage(Image** out, const Image* image, int alphaThreshold, int margin, int byColour);
VELLUM_API int trimmingImage2(Image** image, int alphaThreshold, int margin, int byColour);
VELLUM_API int flipHorizontalImage(Image** out, const Image* image);
VELLUM_API int flipVerticalImage(Image** out, const Image* image);
VELLUM_API int flipHorizontalImage2(Image** image);
VELLUM_API int flipVerticalImage2(Image** image);
VELLUM_API int negaposiImage(Image* image);
VELLUM_API int grayscalImage(Image* image);
VELLUM_API int bcImage(Image* image, int brightness, int contrast);
VELLUM_API int colorImage(Image* image, int red, int green, int blue);
/* Hue in degrees; saturation and lightness in percent of their full range. */
VELLUM_API int hslImage(Image* image, int hue, int saturation, int lightness);
VELLUM_API int blurImage(Image* image, int xRadius, int yRadius);
VELLUM_API int mosaicImage(Image* image, int blockWidth, int blockHeight);
/* Clips *base to where it differs from other: flags & 3 compares 0 whole pixels, 1 colour,
 * 2 alpha, 3 visible pixels; flags & 4 clears the unchanged pixels inside; channels within
 * tolerance are equal. */
VELLUM_API int differenceImage(Image** base, const Image* other, int flags, int tolerance);
/* Composite modes: 0 copy, 1 copy where the layer's alpha is not 0, 2 XOR colour, 4 alpha. */
VELLUM_API int compositeImage(Image** base, const Image* layer, int mode, int x, int y, int expand);
VELLUM_API int blendImage(Image** base, const Image* layer, int mode, int x, int y, int opacity, int expand);
VELLUM_API int copyImage(Image** out, const Image* image);
VELLUM_API int resizeImage(Image** out, const Image* image, double a, double b, int kind, int shrinkFilter, int enlargeFilter);
VELLUM_API int resizeImage2(Image** image, double a, double b, int kind, int shrinkFilter, int enlargeFilter);
VELLUM_API int rotateImage(Image** out, const Image* image, double degrees, double scale, int filter);
VELLUM_API int rotateImage2(Image** image, double degrees, double scale, int filter);
/* Marks an opaque picture 24-bit, else clears the colour of fully transparent pixels and bleeds
 * the neighbours' colour into them bleedPasses pixels deep (alpha stays 0). */
VELLUM_API int DurtyTransparency(Image* image, int bleedPasses);
/* Lays the colour 0xAARRGGBB over every pixel with blend mode 1-21, weighted by its alpha. */
VELLUM_API int colImage(Image* image, int mode, uint32_t colour);

/* ---- the graphics device (see vellum/gpu.h) ------------------------------------------------ */
/* Writes the adapter and the device into whichever pointer is non-null (nullptr before the
 * screen is set up); the pointers carry no reference. */
VELLUM_API void getDirect3D9(VellumGpu** object, VellumGpuDevice** device);
/* Uploads 32-bit pixels (rows of imageWidth) into mip level `level` of a texture, converting to
 * its format and zeroing the rest of each row and the rows below up to textureHeight; all four
 * sizes are shifted right by the level. Returns 1 on success; failures are reported. */
VELLUM_API int writeTexture2(VellumGpuTexture** texture, const uint32_t* pixels, uint32_t level,
                             const int* imageWidth, const int* imageHeight, const int* textureWidth,
                             const int* textureHeight);
/* The same for one tile of a picture cut into several textures: the source starts at column
 * tileX, row tileY of the whole picture (imageWidth x imageHeight) and the tile takes what is left
 * of it, at most the texture's size. A tile offset outside the picture is reported. */
VELLUM_API int writeTexture3(VellumGpuTexture** texture, const uint32_t* pixels, uint32_t level,
                             const int* imageWidth, const int* imageHeight, const int* textureWidth,
                             const int* textureHeight, const int* tileX, const int* tileY);
VELLUM_API uint32_t vellum_gpu_texture_add_ref(VellumGpuTexture* texture);
VELLUM_API uint32_t vellum_gpu_texture_release(VellumGpuTexture* texture);
VELLUM_API uint32_t vellum_gpu_surface_release(VellumGpuSurface* surface);
VELLUM_API int32_t vellum_gpu_create_texture(VellumGpuDevice* device, uint32_t width, uint32_t height,
                                             uint32_t levels, uint32_t usage, uint32_t format, uint32_t pool,
                                             VellumGpuTexture** texture);
VELLUM_API int32_t vellum_gpu_texture_lock(VellumGpuTexture* texture, uint32_t level, uint32_t flags,
                                           int32_t* pitch, void** bits);
VELLUM_API int32_t vellum_gpu_texture_unlock(VellumGpuTexture* texture, uint32_t level);
VELLUM_API int32_t vellum_gpu_texture_surface(VellumGpuTexture* texture, uint32_t level, VellumGpuSurface** surface);
VELLUM_API int32_t vellum_gpu_set_render_target(VellumGpuDevice* device, uint32_t index, VellumGpuSurface* surface);
/* The current render target, with a reference. */
VELLUM_API int32_t vellum_gpu_get_render_target(VellumGpuDevice* device, uint32_t index, VellumGpuSurface** surface);
VELLUM_API int32_t vellum_gpu_clear(VellumGpuDevice* device, uint32_t color);
VELLUM_API int32_t vellum_gpu_set_texture(VellumGpuDevice* device, uint32_t stage, VellumGpuTexture* texture);
VELLUM_API int32_t vellum_gpu_set_render_state(VellumGpuDevice* device, uint32_t state, uint32_t value);
VELLUM_API int32_t vellum_gpu_set_texture_stage_state(VellumGpuDevice* device, uint32_t stage, uint32_t state,
                                                      uint32_t value);
VELLUM_API int32_t vellum_gpu_set_sampler_state(VellumGpuDevice* device, uint32_t sampler, uint32_t state,
                                                uint32_t value);
/* Draws primitives from caller memory in the given vertex format, inside the engine's frame
 * (between its begin and end of the scene, as during the engine's own drawing). */
VELLUM_API int32_t vellum_gpu_draw(VellumGpuDevice* device, uint32_t fvf, uint32_t primitive, uint32_t count,
                                   const void* vertices, uint32_t stride);

/* ---- pointer ----------------------------------------------------------------------- */
/* The pointer in game coordinates. */
VELLUM_API void getCursorPos(int* x, int* y);
/* Converts a game position, in place, to pixels of the window's client area. */
VELLUM_API void getDisplayPos(int* x, int* y);
/* Moves the pointer to (x, y): game coordinates when gameCoords is nonzero, else client pixels;
 * speed 0 jumps, otherwise it glides (((distance x speed) | 16) >> 3 ms). */
VELLUM_API void setCursorPos(int x, int y, int speed, int gameCoords);
/* -128 while the key (a Windows virtual-key number; 1, 2 and 4 the mouse buttons) is held, else 0. */
VELLUM_API int getPushKey(int vk);

#ifdef __cplusplus
/* ---- string-object variants (C++ linkage, namespace vellum) -------------------------------- */
namespace vellum {
VELLUM_CXX_API int32_t stoi10(const std::string& text);
VELLUM_CXX_API uint32_t stoul10(const std::string& text);
VELLUM_CXX_API uint32_t stoi16(const std::string& text);
VELLUM_CXX_API uint32_t stoi32(const std::string& text);
VELLUM_CXX_API int64_t stoll10(const std::string& text);
VELLUM_CXX_API uint64_t stoull10(const std::string& text);
VELLUM_CXX_API uint64_t stoull16(const std::string& text);
VELLUM_CXX_API uint64_t stoull32(const std::string& text);
VELLUM_CXX_API float stof10(const std::string& text);
VELLUM_CXX_API double stod10(const std::string& text);
VELLUM_CXX_API std::string itos10(int32_t value);
VELLUM_CXX_API std::string itos16(uint32_t value);
VELLUM_CXX_API std::string itos32(uint32_t value);
VELLUM_CXX_API std::string ultos10(uint32_t value);
VELLUM_CXX_API std::string lltos10(int64_t value);
VELLUM_CXX_API std::string ulltos10(uint64_t value);
VELLUM_CXX_API std::string ulltos16(uint64_t value);
VELLUM_CXX_API std::string ulltos32(uint64_t value);
VELLUM_CXX_API std::string ttos10(uint32_t value);
VELLUM_CXX_API std::string ftos10(float value);
VELLUM_CXX_API std::string dtos10(double value);
}  // namespace vellum
#endif

#endif /* VELLUM_EXPORTS_H */
