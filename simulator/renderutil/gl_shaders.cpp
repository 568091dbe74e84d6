// Shader source of the device program. Per-vertex lighting (as the classic pipeline lights
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

const char* const kDeviceFragmentShader = R"(#version 330 core
in vec4 vColor;
in vec2 vUv;
uniform sampler2D uTexture;
uniform bool uTextured;
uniform int uColorOp;   // 0 modulate, 1 select texture, 2 select diffuse
uniform int uAlphaOp;
uniform int uAlphaFunc; // -1 off, else a compare function 0..7
uniform float uAlphaRef;  // 0..255
out vec4 fragColor;

bool passes(int func, float a, float ref) {
    if (func == 0) return false;
    if (func == 1) return a < ref;
    if (func == 2) return a == ref;
    if (func == 3) return a <= ref;
    if (func == 4) return a > ref;
    if (func == 5) return a != ref;
    if (func == 6) return a >= ref;
    return true;
}

void main() {
    vec4 t = uTextured ? texture(uTexture, vUv) : vec4(1.0);
    vec3 rgb = uColorOp == 0 ? t.rgb * vColor.rgb : (uColorOp == 1 ? t.rgb : vColor.rgb);
    float a = uAlphaOp == 0 ? t.a * vColor.a : (uAlphaOp == 1 ? t.a : vColor.a);
    if (uAlphaFunc >= 0 && !passes(uAlphaFunc, floor(a * 255.0 + 0.5), uAlphaRef)) discard;
    fragColor = vec4(rgb, a);
}
)";
