// Sound device failures as reports name them: the result codes of the Windows sound API that games
// and their authors know, and the device layer's reasons mapped onto them.
#pragma once

#include <cstdint>
#include <string>

#include "platform/audio_device.h"

namespace vellum {

namespace sound_result {
constexpr uint32_t kOk = 0x00000000, kNoVirtualization = 0x0878000A;
constexpr uint32_t kUnsupported = 0x80004001, kNoInterface = 0x80004002, kGeneric = 0x80004005;
constexpr uint32_t kNoAggregation = 0x80040110, kAccessDenied = 0x80070005, kOutOfMemory = 0x8007000E;
constexpr uint32_t kInvalidParam = 0x80070057, kAllocated = 0x8878000A, kControlUnavail = 0x8878001E;
constexpr uint32_t kInvalidCall = 0x88780032, kPrioLevelNeeded = 0x88780046, kBadFormat = 0x88780064;
constexpr uint32_t kNoDriver = 0x88780078, kAlreadyInitialized = 0x88780082, kBufferLost = 0x88780096;
constexpr uint32_t kOtherAppHasPrio = 0x887800A0, kUninitialized = 0x887800AA, kBufferTooSmall = 0x887800B4;
constexpr uint32_t kDs8Required = 0x887800BE, kSendLoop = 0x887800C8, kBadSendBufferGuid = 0x887800D2;
constexpr uint32_t kFxUnavailable = 0x887800DC, kObjectNotFound = 0x88781161;
}  // namespace sound_result

// "DSERR_BADFORMAT" and the like; an unknown code gives "DSERR_NOTFAUND " and the code in hex.
std::string soundErrorName(uint32_t code);
// The result code that stands for a device layer failure.
uint32_t soundResultOf(AudioError error);

}  // namespace vellum
