#include "sound/sound_device_errors.h"

#include <vellum/exports.h>

namespace vellum {

std::string soundErrorName(uint32_t code) {
  using namespace sound_result;
  switch (code) {
    case kOk: return "DS_OK";
    case kNoVirtualization: return "DS_NO_VIRTUALIZATION";
    case kUnsupported: return "DSERR_UNSUPPORTED";
    case kNoInterface: return "DSERR_NOINTERFACE";
    case kGeneric: return "DSERR_GENERIC";
    case kNoAggregation: return "DSERR_NOAGGREGATION";
    case kAccessDenied: return "DSERR_ACCESSDENIED";
    case kOutOfMemory: return "DSERR_OUTOFMEMORY";
    case kInvalidParam: return "DSERR_INVALIDPARAM";
    case kAllocated: return "DSERR_ALLOCATED";
    case kControlUnavail: return "DSERR_CONTROLUNAVAIL";
    case kInvalidCall: return "DSERR_INVALIDCALL";
    case kPrioLevelNeeded: return "DSERR_PRIOLEVELNEEDED";
    case kBadFormat: return "DSERR_BADFORMAT";
    case kNoDriver: return "DSERR_NODRIVER";
    case kAlreadyInitialized: return "DSERR_ALREADYINITIALIZED";
    case kBufferLost: return "DSERR_BUFFERLOST";
    case kOtherAppHasPrio: return "DSERR_OTHERAPPHASPRIO";
    case kUninitialized: return "DSERR_UNINITIALIZED";
    case kBufferTooSmall: return "DSERR_BUFFERTOOSMALL";
    case kDs8Required: return "DSERR_DS8_REQUIRED";
    case kSendLoop: return "DSERR_SENDLOOP";
    case kBadSendBufferGuid: return "DSERR_BADSENDBUFFERGUID";
    case kFxUnavailable: return "DSERR_FXUNAVAILABLE";
    case kObjectNotFound: return "DSERR_OBJECTNOTFOUND";
    default: break;
  }
  return "DSERR_NOTFAUND " + itos16(code);
}

uint32_t soundResultOf(AudioError error) {
  using namespace sound_result;
  switch (error) {
    case AudioError::None: return kOk;
    case AudioError::NoDriver: return kNoDriver;
    case AudioError::NotOpen: return kUninitialized;
    case AudioError::BadFormat: return kBadFormat;
    case AudioError::BufferTooSmall: return kBufferTooSmall;
    case AudioError::OutOfMemory: return kOutOfMemory;
    case AudioError::Unsupported: return kUnsupported;
    case AudioError::Generic: return kGeneric;
  }
  return kGeneric;
}

}  // namespace vellum
