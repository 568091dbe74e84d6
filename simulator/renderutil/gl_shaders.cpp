// Shader source of the device programs. Per-vertex lighting (as the classic pipeline lights
// vertices), per-fragment texture stage and alpha test.
#include "gl_shaders.h"

const char* const kDeviceVertexShader = R"(#version 330 core
layout(location = 0) in vec4 aPosition;  // xyz, or x, y, z, rhw for screen-space vertices
layout(location = 1) in vec3 aNormal;
layout(location = 2) in vec4 aColor;     // BGRA bytes of an ARGB value, read as RGBA
layout(location = 3) in vec2 aUv;

uniform mat4 uWorldViewProj;   // row-vector matrix uploaded as is, i.e. its transpose
uniform mat4 uNormalMatrix;    // transpose of inverse(world), uploaded as is
uniform bool uScreenSpace;
uniform vec2 uViewportSize;    // pixels
uniform bool uLighting;        // lighting on and the format has normals
uniform bool uNormalize;
uniform vec4 uGlobalAmbient;
uniform vec4 uMatDiffuse;
uniform vec4 uMatAmbient;
uniform vec4 uMatEmissive;
uniform int uLightCount;
uniform vec3 uLightDir[8];     // normalised, direction of travel
uniform vec3 uLightDiffuse[8];

out vec4 vColor;
out vec2 vUv;

void main() {
    if (uScreenSpace) {
        float w = aPosition.w != 0.0 ? 1.0 / aPosition.w : 1.0;
        // Pixel centres sit at integer coordinates; GL's at half-integers.
        vec2 ndc = vec2((aPosition.x + 0.5) / uViewportSize.x * 2.0 - 1.0,
                        1.0 - (aPosition.y + 0.5) / uViewportSize.y * 2.0);
        gl_Position = vec4(ndc * w, (aPosition.z * 2.0 - 1.0) * w, w);
        vColor = aColor;
    } else {
        vec4 clip = uWorldViewProj * vec4(aPosition.xyz, 1.0);
        clip.z = clip.z * 2.0 - clip.w;  // depth 0..w to -w..w
        gl_Position = clip;
        if (uLighting) {
            vec3 n = mat3(uNormalMatrix) * aNormal;
            if (uNormalize) {
                float len = length(n);
                n = len > 0.0 ? n / len : n;
            }
            vec3 c = uMatEmissive.rgb + uMatAmbient.rgb * uGlobalAmbient.rgb;
            for (int i = 0; i < uLightCount; ++i)
                c += uMatDiffuse.rgb * uLightDiffuse[i] * max(0.0, dot(n, -uLightDir[i]));
            vColor = vec4(clamp(c, 0.0, 1.0), clamp(uMatDiffuse.a, 0.0, 1.0));
        } else {
            vColor = aColor;
        }
    }
    vUv = aUv;
}
)";

// Compiled once per combination of the texture stage and alpha test in use (the defines come
// first): a software rasteriser pays for every branch and for a discard that can never happen.
//   SAMPLES_TEXTURE 0/1 (t is the texel or white), COLOR_VALUE and ALPHA_VALUE the stage's expressions,
//   ALPHA_NEVER or ALPHA_COMPARE (the operator that lets a fragment pass), or neither when every
//   fragment passes.
const char* const kDeviceFragmentShader = R"(
in vec4 vColor;
in vec2 vUv;
uniform sampler2D uTexture;
uniform float uAlphaRef;  // 0..255
out vec4 fragColor;

void main() {
#if SAMPLES_TEXTURE
    vec4 t = texture(uTexture, vUv);
#else
    vec4 t = vec4(1.0);  // no texture samples as white
#endif
    vec3 rgb = COLOR_VALUE;
    float a = ALPHA_VALUE;
#if defined(ALPHA_NEVER)
    discard;
#elif defined(ALPHA_COMPARE)
    if (!(floor(a * 255.0 + 0.5) ALPHA_COMPARE uAlphaRef)) discard;
#endif
    fragColor = vec4(rgb, a);
}
)";
