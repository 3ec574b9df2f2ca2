/* The engine's graphics device as plug-ins see it (getDirect3D9 hands the two objects out).
 *
 * The device keeps the rules of the Direct3D 9 interface the engine is written against, and the
 * numbers below are that interface's: result codes (0 success, negative failure, 0x88760868 the
 * device is lost), formats (21 A8R8G8B8, 22 X8R8G8B8, 23 R5G6B5, 26 A4R4G4B4), pools (0 default,
 * 1 managed, 2 system memory), usage 1 render target and 0x200 dynamic, lock flag 0x2000 DISCARD
 * (dynamic textures only), render, texture-stage and sampler state numbers, vertex formats
 * (0x004 transformed x, y, z, rhw; 0x002 untransformed x, y, z; 0x040 a diffuse colour word;
 * n << 8 for n texture-coordinate sets) and primitive types (4 list, 5 strip, 6 fan).
 *
 * Conventions: rows are top-down in every texture and target; a transformed vertex at
 * (x - 0.5, y - 0.5) is the corner of pixel (x, y); colours are 0xAARRGGBB words.
 *
 * Lifetime: every object is reference-counted. Objects a function hands out carry one reference
 * the caller gives back with vellum_gpu_release. Default-pool objects (render targets) must be
 * released in DeviceLost and made again in DeviceReset: the engine's reset fails while any is
 * alive. Managed textures survive.
 *
 * Threads: call the device from the engine's main thread (the thread that calls the plug-in's
 * entry points). Textures may be locked, written and unlocked from other threads; the engine
 * uploads them before it next draws. */
#ifndef VELLUM_GPU_H
#define VELLUM_GPU_H

#include <stdint.h>

typedef struct VellumGpu VellumGpu;              /* the adapter */
typedef struct VellumGpuDevice VellumGpuDevice;  /* the device */
typedef struct VellumGpuTexture VellumGpuTexture;
typedef struct VellumGpuSurface VellumGpuSurface;

#endif /* VELLUM_GPU_H */
