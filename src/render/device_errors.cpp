// Names of device result codes, as reports show them.
#include <cstdint>
#include <string>

#include "render/renderer.h"
#include <vellum/exports.h>

namespace vellum {

std::string deviceErrorName(gpu::Result result) {
  switch (static_cast<uint32_t>(result)) {
    case 0: return "D3D_OK";
    case 0x0876086F: return "D3DOK_NOAUTOGEN";
    case 0x8007000E: return "E_OUTOFMEMORY";
    case 0x8876017C: return "D3DERR_OUTOFVIDEOMEMORY";
    case 0x8876021C: return "D3DERR_WASSTILLDRAWING";
    case 0x88760818: return "D3DERR_WRONGTEXTUREFORMAT";
    case 0x88760819: return "D3DERR_UNSUPPORTEDCOLOROPERATION";
    case 0x8876081A: return "D3DERR_UNSUPPORTEDCOLORARG";
    case 0x8876081B: return "D3DERR_UNSUPPORTEDALPHAOPERATION";
    case 0x8876081C: return "D3DERR_UNSUPPORTEDALPHAARG";
    case 0x8876081D: return "D3DERR_TOOMANYOPERATIONS";
    case 0x8876081E: return "D3DERR_CONFLICTINGTEXTUREFILTER";
    case 0x8876081F: return "D3DERR_UNSUPPORTEDFACTORVALUE";
    case 0x88760821: return "D3DERR_CONFLICTINGRENDERSTATE";
    case 0x88760822: return "D3DERR_UNSUPPORTEDTEXTUREFILTER";
    case 0x88760826: return "D3DERR_CONFLICTINGTEXTUREPALETTE";
    case 0x88760827: return "D3DERR_DRIVERINTERNALERROR";
    case 0x88760866: return "D3DERR_NOTFOUND";
    case 0x88760867: return "D3DERR_MOREDATA";
    case 0x88760868: return "D3DERR_DEVICELOST";
    case 0x88760869: return "D3DERR_DEVICENOTRESET";
    case 0x8876086A: return "D3DERR_NOTAVAILABLE";
    case 0x8876086B: return "D3DERR_INVALIDDEVICE";
    case 0x8876086C: return "D3DERR_INVALIDCALL";
    case 0x8876086D: return "D3DERR_DRIVERINVALIDCALL";
    default: break;
  }
  return "D3DERR_NOTFAUND " + itos16(static_cast<uint32_t>(result));
}

}  // namespace vellum
