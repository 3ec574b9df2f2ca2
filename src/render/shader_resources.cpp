// The shader programs. Inputs: v0 the diffuse colour, t0 … t8 the texture-coordinate sets, c[] the
// constants, s0/s1 the samplers of stages 0 and 1; the result goes to oC0. The filters read their
// taps with point sampling and weigh them themselves.
#include "render/shader_resources.h"

#include <string>

namespace vellum {

namespace {

// BiLinearSharp: bilinear weights pulled towards the nearer texel by the sharpness c1.x.
const char* const kSharp = R"(
void main() {
  vec2 f = fract(t0 * c[0].xy);
  vec2 g = clamp((f - 0.5) * c[1].x + 0.5, 0.0, 1.0);
  vec4 top = mix(texture(s0, t0), texture(s0, t1), g.x);
  vec4 bottom = mix(texture(s0, t2), texture(s0, t3), g.x);
  oC0 = mix(top, bottom, g.y);
}
)";

// Lanczos1: two taps per axis weighted by sin²(πd)/(πd)², normalised.
const char* const kLanczos1 = R"(
vec2 weight(vec2 d) {
  vec2 x = max(3.14159265 * d, vec2(0.00392));
  vec2 s = sin(x);
  return s * s / (x * x);
}
void main() {
  vec2 f = fract(t0 * c[0].xy);
  vec2 near = weight(f);
  vec2 far = weight(1.0 - f);
  vec4 sum = texture(s0, t0) * near.x * near.y + texture(s0, t1) * far.x * near.y +
             texture(s0, t2) * near.x * far.y + texture(s0, t3) * far.x * far.y;
  oC0 = sum / ((near.x + far.x) * (near.y + far.y));
}
)";

// BiQuad: three taps per axis at -1.5, -0.5, +0.5 texels with weights f²·c2 + f·c3 + c4; the ninth
// set is the third one two texels down.
const char* const kQuad = R"(
void main() {
  vec2 f = fract(t4 * c[0].xy);
  vec3 wx = f.x * f.x * c[2].xyz + f.x * c[3].xyz + c[4].xyz;
  vec3 wy = f.y * f.y * c[2].xyz + f.y * c[3].xyz + c[4].xyz;
  vec2 t8r = t2 + c[1].xy;
  vec4 r0 = wx.x * texture(s0, t0) + wx.y * texture(s0, t1) + wx.z * texture(s0, t2);
  vec4 r1 = wx.x * texture(s0, t3) + wx.y * texture(s0, t4) + wx.z * texture(s0, t5);
  vec4 r2 = wx.x * texture(s0, t6) + wx.y * texture(s0, t7) + wx.z * texture(s0, t8r);
  oC0 = wy.x * r0 + wy.y * r1 + wy.z * r2;
}
)";

// The twelve reads of the four-tap filters: the middle rows take all four taps, the outer rows
// their two middle taps with the outer weights folded in. Rows +0.5 and +1.5 are the first two
// rows two texels down.
const char* const kTwelveTaps = R"(
vec4 twelveTaps(vec4 wx, vec4 wy) {
  vec2 down = c[1].xy;
  vec2 outer = vec2(wx.x + wx.y, wx.z + wx.w);
  vec4 top = texture(s0, t1) * outer.x + texture(s0, t2) * outer.y;
  vec4 upper = texture(s0, t4) * wx.x + texture(s0, t5) * wx.y + texture(s0, t6) * wx.z + texture(s0, t7) * wx.w;
  vec4 lower = texture(s0, t0 + down) * wx.x + texture(s0, t1 + down) * wx.y + texture(s0, t2 + down) * wx.z +
               texture(s0, t3 + down) * wx.w;
  vec4 bottom = texture(s0, t5 + down) * outer.x + texture(s0, t6 + down) * outer.y;
  return wy.x * top + wy.y * upper + wy.z * lower + wy.w * bottom;
}
)";

// BiCubic: cubic convolution with a = -1, weights f³·c2 + f²·c3 + f·c4 + c5.
const char* const kCubicBody = R"(
vec4 weights(float f) { return f * f * f * c[2] + f * f * c[3] + f * c[4] + c[5]; }
void main() {
  vec2 f = fract(t5 * c[0].xy);
  oC0 = twelveTaps(weights(f.x), weights(f.y));
}
)";

// Lanczos2: weights sin(πd)·sin(πd/2)/((πd)²/2) at d = f+1, f, 1-f, 2-f, normalised.
const char* const kLanczos2Body = R"(
vec4 weights(float f) {
  vec4 x = max(3.14159265 * vec4(f + 1.0, f, 1.0 - f, 2.0 - f), vec4(0.00392));
  return sin(x) * sin(x * 0.5) / (x * x * 0.5);
}
void main() {
  vec2 f = fract(t5 * c[0].xy);
  vec4 wx = weights(f.x);
  vec4 wy = weights(f.y);
  oC0 = twelveTaps(wx, wy) / (dot(wx, vec4(1.0)) * dot(wy, vec4(1.0)));
}
)";

// MaskFade: the after picture with alpha (c1.x - mask red) × c0.x; an infinite scale (no softness)
// makes each pixel either unchanged or changed.
const char* const kMaskFade = R"(
void main() {
  float d = c[1].x - texture(s1, t1).r;
  float a = d > 0.0 ? clamp(d * c[0].x, 0.0, 1.0) : 0.0;
  oC0 = vec4(texture(s0, t0).rgb, a);
}
)";

// AlphaMask1: the sprite texel times the diffuse colour, its alpha scaled by min(1, c1.x - r·c0.x)
// of the mask's red channel; the 4 form multiplies the colour by c2, the 7 form adds c2.
const char* const kAlphaMaskHead = R"(
vec4 masked() {
  vec4 colour = texture(s0, t0) * v0;
  colour.a *= clamp(min(1.0, c[1].x - texture(s1, t1).r * c[0].x), 0.0, 1.0);
  return colour;
}
)";
const char* const kAlphaMask1 = R"(
void main() { oC0 = masked(); }
)";
const char* const kAlphaMask4 = R"(
void main() { vec4 colour = masked(); oC0 = vec4(clamp(colour.rgb * c[2].rgb, 0.0, 1.0), colour.a); }
)";
const char* const kAlphaMask7 = R"(
void main() { vec4 colour = masked(); oC0 = vec4(clamp(colour.rgb + c[2].rgb, 0.0, 1.0), colour.a); }
)";

// Stand: the cross-fade of a sprite's two pictures, the old one on stage 0 and the new one on
// stage 1, by the progress c0.x (0 … 1), times the diffuse colour; the 4 and 7 forms as above.
const char* const kStandHead = R"(
vec4 faded() { return mix(texture(s0, t0), texture(s1, t1), clamp(c[0].x, 0.0, 1.0)) * v0; }
)";
const char* const kStand1 = R"(
void main() { oC0 = faded(); }
)";
const char* const kStand4 = R"(
void main() { vec4 colour = faded(); oC0 = vec4(clamp(colour.rgb * c[2].rgb, 0.0, 1.0), colour.a); }
)";
const char* const kStand7 = R"(
void main() { vec4 colour = faded(); oC0 = vec4(clamp(colour.rgb + c[2].rgb, 0.0, 1.0), colour.a); }
)";

std::string joined(const char* a, const char* b) { return std::string(a) + b; }

}  // namespace

const char* shaderResource(int id) {
  static const std::string cubic = joined(kTwelveTaps, kCubicBody);
  static const std::string lanczos2 = joined(kTwelveTaps, kLanczos2Body);
  static const std::string mask1 = joined(kAlphaMaskHead, kAlphaMask1);
  static const std::string mask4 = joined(kAlphaMaskHead, kAlphaMask4);
  static const std::string mask7 = joined(kAlphaMaskHead, kAlphaMask7);
  static const std::string stand1 = joined(kStandHead, kStand1);
  static const std::string stand4 = joined(kStandHead, kStand4);
  static const std::string stand7 = joined(kStandHead, kStand7);
  switch (id) {
    case 102: return kSharp;
    case 103: return kLanczos1;
    case 104: return kQuad;
    case 105: return cubic.c_str();
    case 106: return lanczos2.c_str();
    case 107: return kMaskFade;
    case 108: return mask1.c_str();
    case 109: return mask4.c_str();
    case 110: return mask7.c_str();
    case 111: return stand1.c_str();
    case 112: return stand4.c_str();
    case 113: return stand7.c_str();
    default: return nullptr;
  }
}

}  // namespace vellum
