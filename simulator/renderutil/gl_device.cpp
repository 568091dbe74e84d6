// GlDevice: a shader program per texture-stage combination, a streaming vertex buffer for
// immediate draws, an off-screen back buffer, and the lazy translation of RenderState into GL
// state and uniforms.
#include "gl_device.h"

#include <epoxy/gl.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>

#include "gl_resources.h"
#include "gl_shaders.h"

namespace {

constexpr size_t kStreamBytes = 4u << 20;  // streaming vertex buffer, refilled round-robin
constexpr int kFormatCount = 4;

struct Uniforms {
    GLint worldViewProj, normalMatrix, screenSpace, viewportSize, lighting, normalize,
        globalAmbient, matDiffuse, matAmbient, matEmissive, lightCount, lightDir, lightDiffuse,
        texture, alphaRef;
};

struct Program {
    GLuint name = 0;
    int key = -1;  // FragmentVariant::key
    Uniforms u{};
};

// The fragment stage a state needs, packed into a key of the program cache.
struct FragmentVariant {
    bool textured;
    int colorOp, alphaOp;
    int alphaFunc;  // -1 when the test is off or always passes

    int key() const { return (textured ? 1 : 0) | colorOp << 1 | alphaOp << 3 | (alphaFunc + 1) << 5; }
};

GLuint compileShader(GLenum type, const char* source, std::string& error) {
    GLuint shader = glCreateShader(type);
    glShaderSource(shader, 1, &source, nullptr);
    glCompileShader(shader);
    GLint ok = 0;
    glGetShaderiv(shader, GL_COMPILE_STATUS, &ok);
    if (!ok) {
        char log[2048] = {};
        glGetShaderInfoLog(shader, sizeof log, nullptr, log);
        error = std::string("shader compilation failed: ") + log;
        glDeleteShader(shader);
        return 0;
    }
    return shader;
}

GLenum glBlendFactor(BlendFactor f) {
    switch (f) {
        case BlendFactor::Zero: return GL_ZERO;
        case BlendFactor::One: return GL_ONE;
        case BlendFactor::SrcColor: return GL_SRC_COLOR;
        case BlendFactor::InvSrcColor: return GL_ONE_MINUS_SRC_COLOR;
        case BlendFactor::SrcAlpha: return GL_SRC_ALPHA;
        case BlendFactor::InvSrcAlpha: return GL_ONE_MINUS_SRC_ALPHA;
        case BlendFactor::DestAlpha: return GL_DST_ALPHA;
        case BlendFactor::InvDestAlpha: return GL_ONE_MINUS_DST_ALPHA;
        case BlendFactor::DestColor: return GL_DST_COLOR;
        case BlendFactor::InvDestColor: return GL_ONE_MINUS_DST_COLOR;
    }
    return GL_ONE;
}

GLenum glCompare(CompareFunc f) {
    switch (f) {
        case CompareFunc::Never: return GL_NEVER;
        case CompareFunc::Less: return GL_LESS;
        case CompareFunc::Equal: return GL_EQUAL;
        case CompareFunc::LessEqual: return GL_LEQUAL;
        case CompareFunc::Greater: return GL_GREATER;
        case CompareFunc::NotEqual: return GL_NOTEQUAL;
        case CompareFunc::GreaterEqual: return GL_GEQUAL;
        case CompareFunc::Always: return GL_ALWAYS;
    }
    return GL_ALWAYS;
}

GLenum glPrimitive(PrimitiveType t) {
    switch (t) {
        case PrimitiveType::TriangleList: return GL_TRIANGLES;
        case PrimitiveType::TriangleStrip: return GL_TRIANGLE_STRIP;
        case PrimitiveType::TriangleFan: return GL_TRIANGLE_FAN;
        case PrimitiveType::LineList: return GL_LINES;
        case PrimitiveType::PointList: return GL_POINTS;
    }
    return GL_TRIANGLES;
}

GLint minFilter(TextureFilter min, TextureFilter mip, bool hasMips) {
    const bool linear = min == TextureFilter::Linear;
    if (!hasMips || mip == TextureFilter::None) return linear ? GL_LINEAR : GL_NEAREST;
    if (mip == TextureFilter::Linear) return linear ? GL_LINEAR_MIPMAP_LINEAR : GL_NEAREST_MIPMAP_LINEAR;
    return linear ? GL_LINEAR_MIPMAP_NEAREST : GL_NEAREST_MIPMAP_NEAREST;
}

void uploadColor(GLint location, const ColorF& c) { glUniform4f(location, c.r, c.g, c.b, c.a); }

FragmentVariant fragmentVariant(const RenderState& s) {
    FragmentVariant v{};
    v.textured = s.texture && s.texture->valid();
    v.colorOp = static_cast<int>(s.colorOp);
    v.alphaOp = static_cast<int>(s.alphaOp);
    v.alphaFunc = s.alphaTest && s.alphaFunc != CompareFunc::Always ? static_cast<int>(s.alphaFunc) : -1;
    return v;
}

std::string fragmentSource(const FragmentVariant& v) {
    // Each texture operation as an expression, by TextureOp.
    static const char* const kColorValues[] = {"t.rgb * vColor.rgb", "t.rgb", "vColor.rgb"};
    static const char* const kAlphaValues[] = {"t.a * vColor.a", "t.a", "vColor.a"};
    // The alpha reference comparison by compare function, from Less to GreaterEqual.
    static const char* const kAlphaOperators[] = {"<", "==", "<=", ">", "!=", ">="};
    const bool samples = v.textured && (v.colorOp != 2 || v.alphaOp != 2);
    std::string defines = std::string("#version 330 core\n#define SAMPLES_TEXTURE ") + (samples ? "1" : "0") +
                          "\n#define COLOR_VALUE " + kColorValues[v.colorOp] + "\n#define ALPHA_VALUE " +
                          kAlphaValues[v.alphaOp] + "\n";
    if (v.alphaFunc == 0) defines += "#define ALPHA_NEVER 1\n";
    if (v.alphaFunc >= 1 && v.alphaFunc <= 6)
        defines += std::string("#define ALPHA_COMPARE ") + kAlphaOperators[v.alphaFunc - 1] + "\n";
    return defines + kDeviceFragmentShader;
}

}  // namespace

struct GlDevice::Impl {
    GLuint vertexShader = 0;
    std::map<int, Program> programs;  // by FragmentVariant::key
    const Program* current = nullptr;
    Uniforms u{};  // of the current program
    GLuint streamBuffer = 0;
    size_t streamOffset = 0;
    size_t streamBytes = kStreamBytes;
    GLuint streamVao[kFormatCount] = {};
    GLuint sampler = 0;
    GLuint framebuffer = 0, colorBuffer = 0, depthBuffer = 0;

    // What GL currently has; valid only when haveApplied.
    bool haveApplied = false;
    RenderState applied;
    int appliedLit = -1;
    int appliedFormat = -1;
    int appliedViewportW = -1, appliedViewportH = -1, appliedScreenScale = 1;
    GLint appliedMinFilter = -1, appliedMagFilter = -1, appliedWrap = -1;

    // The program of a variant, linked on first use. When that fails: nullptr, and the reason in
    // error the first time only (the failure is remembered, not retried on every draw).
    const Program* program(const FragmentVariant& v, std::string& error) {
        auto found = programs.find(v.key());
        if (found != programs.end()) return found->second.name ? &found->second : nullptr;
        GLuint fs = compileShader(GL_FRAGMENT_SHADER, fragmentSource(v).c_str(), error);
        if (!fs) {
            programs.emplace(v.key(), Program{});
            return nullptr;
        }
        Program p;
        p.key = v.key();
        p.name = glCreateProgram();
        glAttachShader(p.name, vertexShader);
        glAttachShader(p.name, fs);
        glLinkProgram(p.name);
        glDetachShader(p.name, vertexShader);
        glDeleteShader(fs);
        GLint ok = 0;
        glGetProgramiv(p.name, GL_LINK_STATUS, &ok);
        if (!ok) {
            char log[2048] = {};
            glGetProgramInfoLog(p.name, sizeof log, nullptr, log);
            error = std::string("shader link failed: ") + log;
            glDeleteProgram(p.name);
            programs.emplace(v.key(), Program{});
            return nullptr;
        }
        auto loc = [&](const char* name) { return glGetUniformLocation(p.name, name); };
        p.u = {loc("uWorldViewProj"), loc("uNormalMatrix"), loc("uScreenSpace"), loc("uViewportSize"),
               loc("uLighting"),      loc("uNormalize"),    loc("uGlobalAmbient"), loc("uMatDiffuse"),
               loc("uMatAmbient"),    loc("uMatEmissive"),  loc("uLightCount"), loc("uLightDir"),
               loc("uLightDiffuse"),  loc("uTexture"),      loc("uAlphaRef")};
        glUseProgram(p.name);
        glUniform1i(p.u.texture, 0);
        // The next apply() binds whichever program it needs and uploads every uniform.
        current = nullptr;
        return &programs.emplace(v.key(), p).first->second;
    }
};

GlDevice::GlDevice() : impl_(std::make_unique<Impl>()) {}

GlDevice::~GlDevice() {
    if (!impl_) return;
    Impl& d = *impl_;
    for (auto& [key, program] : d.programs) glDeleteProgram(program.name);
    if (d.vertexShader) glDeleteShader(d.vertexShader);
    if (d.streamBuffer) glDeleteBuffers(1, &d.streamBuffer);
    glDeleteVertexArrays(kFormatCount, d.streamVao);
    if (d.sampler) glDeleteSamplers(1, &d.sampler);
    if (d.framebuffer) glDeleteFramebuffers(1, &d.framebuffer);
    if (d.colorBuffer) glDeleteRenderbuffers(1, &d.colorBuffer);
    if (d.depthBuffer) glDeleteRenderbuffers(1, &d.depthBuffer);
}

bool GlDevice::init() {
    Impl& d = *impl_;
    if (epoxy_gl_version() < 33) {
        error_ = "OpenGL 3.3 is not available";
        return false;
    }
    d.vertexShader = compileShader(GL_VERTEX_SHADER, kDeviceVertexShader, error_);
    if (!d.vertexShader) return false;
    // The plainest and the commonest programs are built now, so that a broken driver shows here.
    if (!d.program(FragmentVariant{false, 2, 2, -1}, error_) ||
        !d.program(FragmentVariant{true, 0, 0, -1}, error_))
        return false;

    glGenBuffers(1, &d.streamBuffer);
    glBindBuffer(GL_ARRAY_BUFFER, d.streamBuffer);
    glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(kStreamBytes), nullptr, GL_STREAM_DRAW);
    glGenVertexArrays(kFormatCount, d.streamVao);
    for (int f = 0; f < kFormatCount; ++f) {
        glBindVertexArray(d.streamVao[f]);
        setupVertexAttributes(static_cast<VertexFormat>(f));
    }
    glBindVertexArray(0);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    // Values of attributes a format does not carry: no normal, opaque white.
    glVertexAttrib3f(kAttrNormal, 0, 0, 0);
    glVertexAttrib4f(kAttrColor, 1, 1, 1, 1);
    glVertexAttrib2f(kAttrUv, 0, 0);

    glGenSamplers(1, &d.sampler);
    glBindSampler(0, d.sampler);
    glActiveTexture(GL_TEXTURE0);
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &maxTextureSize_);
    glFrontFace(GL_CCW);
    d.haveApplied = false;
    if (glGetError() != GL_NO_ERROR) {
        error_ = "OpenGL error while setting up the device";
        return false;
    }
    return true;
}

bool GlDevice::resizeBackBuffer(int widthPx, int heightPx) {
    Impl& d = *impl_;
    if (widthPx <= 0 || heightPx <= 0) return false;
    if (!d.framebuffer) glGenFramebuffers(1, &d.framebuffer);
    if (!d.colorBuffer) glGenRenderbuffers(1, &d.colorBuffer);
    if (!d.depthBuffer) glGenRenderbuffers(1, &d.depthBuffer);
    glBindRenderbuffer(GL_RENDERBUFFER, d.colorBuffer);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, widthPx, heightPx);
    glBindRenderbuffer(GL_RENDERBUFFER, d.depthBuffer);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH24_STENCIL8, widthPx, heightPx);
    glBindRenderbuffer(GL_RENDERBUFFER, 0);
    glBindFramebuffer(GL_FRAMEBUFFER, d.framebuffer);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, d.colorBuffer);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_STENCIL_ATTACHMENT, GL_RENDERBUFFER,
                              d.depthBuffer);
    const bool complete = glCheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
    width_ = widthPx;
    height_ = heightPx;
    glViewport(0, 0, widthPx, heightPx);
    d.appliedViewportW = d.appliedViewportH = -1;
    return complete;
}

void GlDevice::bindBackBuffer() {
    glBindFramebuffer(GL_FRAMEBUFFER, impl_->framebuffer);
    glViewport(0, 0, width_, height_);
}

void GlDevice::presentTo(int drawableWidthPx, int drawableHeightPx) {
    Impl& d = *impl_;
    if (!d.framebuffer) return;
    glBindFramebuffer(GL_READ_FRAMEBUFFER, d.framebuffer);
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
    glBlitFramebuffer(0, 0, width_, height_, 0, 0, drawableWidthPx, drawableHeightPx,
                      GL_COLOR_BUFFER_BIT,
                      drawableWidthPx == width_ && drawableHeightPx == height_ ? GL_NEAREST
                                                                                : GL_LINEAR);
    glBindFramebuffer(GL_FRAMEBUFFER, d.framebuffer);
}

bool GlDevice::readBackBuffer(Image& image) {
    Impl& d = *impl_;
    if (!d.framebuffer || width_ <= 0 || height_ <= 0) return false;
    Image raw;
    raw.resize(width_, height_);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, d.framebuffer);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width_, height_, GL_RGBA, GL_UNSIGNED_BYTE, raw.rgba.data());
    glBindFramebuffer(GL_FRAMEBUFFER, d.framebuffer);
    // GL rows run bottom-up.
    image.resize(width_, height_);
    const size_t rowBytes = static_cast<size_t>(width_) * 4;
    for (int y = 0; y < height_; ++y)
        std::memcpy(&image.rgba[image.offset(0, y)], &raw.rgba[raw.offset(0, height_ - 1 - y)],
                    rowBytes);
    for (size_t i = 3; i < image.rgba.size(); i += 4) image.rgba[i] = 255;
    return true;
}

void GlDevice::clear(bool target, uint32_t argb, bool zbuffer, float depth) {
    GLbitfield mask = 0;
    if (target) {
        const ColorF c = colorFromArgb(argb);
        glClearColor(c.r, c.g, c.b, c.a);
        glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
        mask |= GL_COLOR_BUFFER_BIT;
    }
    if (zbuffer) {
        glClearDepth(depth);
        glDepthMask(GL_TRUE);
        glClearStencil(0);
        mask |= GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT;
    }
    if (!mask) return;
    glDisable(GL_SCISSOR_TEST);
    glClear(mask);
    // The write masks were changed behind the applied state.
    if (impl_->haveApplied) {
        impl_->applied.colorWrite = true;
        impl_->applied.depthWrite = true;
        const bool colorWrite = state_.colorWrite, depthWrite = state_.depthWrite;
        glColorMask(colorWrite, colorWrite, colorWrite, colorWrite);
        glDepthMask(depthWrite);
        impl_->applied.colorWrite = colorWrite;
        impl_->applied.depthWrite = depthWrite;
    }
}

void GlDevice::setLight(int index, const ColorF& diffuse, Vec3f direction) {
    if (index < 0 || index >= kMaxLights) return;
    state_.lights[index].diffuse = diffuse;
    state_.lights[index].direction = direction;
}

void GlDevice::enableLight(int index, bool on) {
    if (index < 0 || index >= kMaxLights) return;
    state_.lights[index].enabled = on;
}

// Brings GL and the uniforms up to the current state; only what changed since the last draw.
void GlDevice::apply() {
    Impl& d = *impl_;
    RenderState& a = d.applied;
    const RenderState& s = state_;
    // Uniforms belong to a program: a switch uploads them all again.
    const FragmentVariant variant = fragmentVariant(s);
    const Program* wanted = d.current;
    if (!d.current || d.current->key != variant.key()) {
        std::string failure;
        if (const Program* p = d.program(variant, failure)) wanted = p;  // else the nearest we have
        if (!failure.empty()) {
            error_ = failure;
            std::fprintf(stderr, "corvane: %s\n", failure.c_str());
        }
    }
    if (!wanted) return;
    if (wanted != d.current) {
        glUseProgram(wanted->name);
        d.current = wanted;
        d.u = wanted->u;
        d.haveApplied = false;
        d.appliedFormat = d.appliedLit = -1;
        d.appliedViewportW = d.appliedViewportH = -1;
    }
    const bool all = !d.haveApplied;

    if (all || s.world != a.world || s.view != a.view || s.projection != a.projection) {
        const Mat4f wvp = s.world * s.view * s.projection;
        glUniformMatrix4fv(d.u.worldViewProj, 1, GL_FALSE, &wvp.m[0][0]);
        if (all || s.world != a.world) {
            const Mat4f normal = transpose(inverse(s.world));
            glUniformMatrix4fv(d.u.normalMatrix, 1, GL_FALSE, &normal.m[0][0]);
        }
    }
    if (all || s.normalizeNormals != a.normalizeNormals)
        glUniform1i(d.u.normalize, s.normalizeNormals);
    if (all || s.globalAmbient != a.globalAmbient) uploadColor(d.u.globalAmbient, s.globalAmbient);
    if (all || s.material != a.material) {
        uploadColor(d.u.matDiffuse, s.material.diffuse);
        uploadColor(d.u.matAmbient, s.material.ambient);
        uploadColor(d.u.matEmissive, s.material.emissive);
    }
    if (all || !std::equal(std::begin(s.lights), std::end(s.lights), std::begin(a.lights))) {
        float dirs[kMaxLights * 3] = {};
        float colors[kMaxLights * 3] = {};
        int count = 0;
        for (const DirectionalLight& light : s.lights) {
            if (!light.enabled) continue;
            const Vec3f dir = normalize(light.direction);
            dirs[count * 3] = dir.x;
            dirs[count * 3 + 1] = dir.y;
            dirs[count * 3 + 2] = dir.z;
            colors[count * 3] = light.diffuse.r;
            colors[count * 3 + 1] = light.diffuse.g;
            colors[count * 3 + 2] = light.diffuse.b;
            ++count;
        }
        glUniform1i(d.u.lightCount, count);
        if (count > 0) {
            glUniform3fv(d.u.lightDir, count, dirs);
            glUniform3fv(d.u.lightDiffuse, count, colors);
        }
    }

    // Bound on every draw: textures are created, refilled and released between draws (which
    // changes the binding behind the device's back), and binding is cheap.
    const bool textured = s.texture && s.texture->valid();
    glBindTexture(GL_TEXTURE_2D, textured ? s.texture->glName() : 0);
    const bool hasMips = s.texture && s.texture->hasMipmaps();
    const GLint minF = minFilter(s.minFilter, s.mipFilter, hasMips);
    const GLint magF = s.magFilter == TextureFilter::Linear ? GL_LINEAR : GL_NEAREST;
    const GLint wrap = s.address == TextureAddress::Wrap ? GL_REPEAT : GL_CLAMP_TO_EDGE;
    if (minF != d.appliedMinFilter) glSamplerParameteri(d.sampler, GL_TEXTURE_MIN_FILTER, minF);
    if (magF != d.appliedMagFilter) glSamplerParameteri(d.sampler, GL_TEXTURE_MAG_FILTER, magF);
    if (wrap != d.appliedWrap) {
        glSamplerParameteri(d.sampler, GL_TEXTURE_WRAP_S, wrap);
        glSamplerParameteri(d.sampler, GL_TEXTURE_WRAP_T, wrap);
    }
    d.appliedMinFilter = minF;
    d.appliedMagFilter = magF;
    d.appliedWrap = wrap;
    if (all || s.alphaRef != a.alphaRef)
        glUniform1f(d.u.alphaRef, static_cast<float>(std::clamp(s.alphaRef, 0, 255)));

    if (all || s.blend != a.blend) s.blend ? glEnable(GL_BLEND) : glDisable(GL_BLEND);
    if (all || s.srcBlend != a.srcBlend || s.dstBlend != a.dstBlend)
        glBlendFunc(glBlendFactor(s.srcBlend), glBlendFactor(s.dstBlend));
    if (all || s.cull != a.cull) {
        // Clockwise faces are front faces; GL sees them as clockwise too because clip space keeps
        // y up and nothing is mirrored on the way to the back buffer.
        if (s.cull == CullMode::None) {
            glDisable(GL_CULL_FACE);
        } else {
            glEnable(GL_CULL_FACE);
            glCullFace(s.cull == CullMode::CounterClockwise ? GL_FRONT : GL_BACK);
        }
    }
    // Depth test off means neither test nor write, as with the classic depth switch.
    if (all || s.depthTest != a.depthTest)
        s.depthTest ? glEnable(GL_DEPTH_TEST) : glDisable(GL_DEPTH_TEST);
    if (all || s.depthFunc != a.depthFunc) glDepthFunc(glCompare(s.depthFunc));
    if (all || s.depthWrite != a.depthWrite) glDepthMask(s.depthWrite);
    if (all || s.colorWrite != a.colorWrite)
        glColorMask(s.colorWrite, s.colorWrite, s.colorWrite, s.colorWrite);
    if (d.appliedViewportW != width_ || d.appliedViewportH != height_ || d.appliedScreenScale != screenScale_) {
        glUniform2f(d.u.viewportSize, screenSpaceWidth(), screenSpaceHeight());
        d.appliedViewportW = width_;
        d.appliedViewportH = height_;
        d.appliedScreenScale = screenScale_;
    }
    a = s;
    d.haveApplied = true;
}

void GlDevice::prepareDraw(VertexFormat format) {
    Impl& d = *impl_;
    // Only state changes cost anything here.
    apply();
    const bool screen = format == VertexFormat::Screen;
    const int f = static_cast<int>(format);
    if (d.appliedFormat != f) {
        glUniform1i(d.u.screenSpace, screen);
        d.appliedFormat = f;
    }
    const int lit = state_.lighting && !screen ? 1 : 0;
    if (d.appliedLit != lit) {
        glUniform1i(d.u.lighting, lit);
        d.appliedLit = lit;
    }
}

void GlDevice::drawUp(PrimitiveType type, VertexFormat format, const void* vertices,
                      int vertexCount) {
    if (!vertices || vertexCount <= 0) return;
    Impl& d = *impl_;
    const size_t stride = vertexStride(format);
    const size_t bytes = stride * static_cast<size_t>(vertexCount);
    glBindBuffer(GL_ARRAY_BUFFER, d.streamBuffer);
    // Append behind what earlier draws still read, without synchronising; when the buffer is
    // full, orphan it and start again at 0. Writes never wait for the GPU.
    size_t offset = (d.streamOffset + stride - 1) / stride * stride;
    GLbitfield access = GL_MAP_WRITE_BIT | GL_MAP_UNSYNCHRONIZED_BIT | GL_MAP_INVALIDATE_RANGE_BIT;
    if (offset + bytes > d.streamBytes) {
        d.streamBytes = std::max(kStreamBytes, bytes);
        glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(d.streamBytes), nullptr,
                     GL_STREAM_DRAW);
        offset = 0;
        access = GL_MAP_WRITE_BIT | GL_MAP_INVALIDATE_BUFFER_BIT;
    }
    void* target = glMapBufferRange(GL_ARRAY_BUFFER, static_cast<GLintptr>(offset),
                                    static_cast<GLsizeiptr>(bytes), access);
    if (target) {
        std::memcpy(target, vertices, bytes);
        glUnmapBuffer(GL_ARRAY_BUFFER);
    } else {
        glBufferSubData(GL_ARRAY_BUFFER, static_cast<GLintptr>(offset),
                        static_cast<GLsizeiptr>(bytes), vertices);
    }
    d.streamOffset = offset + bytes;
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    prepareDraw(format);
    glBindVertexArray(d.streamVao[static_cast<int>(format)]);
    glDrawArrays(glPrimitive(type), static_cast<GLint>(offset / stride), vertexCount);
    ++drawCalls_;
    verticesDrawn_ += vertexCount;
}

void GlDevice::draw(PrimitiveType type, const GlVertexBuffer& vb, int firstVertex,
                    int vertexCount) {
    if (!vb.valid() || vertexCount <= 0 || firstVertex < 0 ||
        firstVertex + vertexCount > vb.vertexCount())
        return;
    prepareDraw(vb.format());
    glBindVertexArray(vb.vertexArray());
    glDrawArrays(glPrimitive(type), firstVertex, vertexCount);
    ++drawCalls_;
    verticesDrawn_ += vertexCount;
}

void GlDevice::drawIndexed(PrimitiveType type, const GlVertexBuffer& vb, const GlIndexBuffer& ib,
                           int firstIndex, int indexCount, int baseVertex) {
    if (!vb.valid() || !ib.valid() || indexCount <= 0 || firstIndex < 0 ||
        static_cast<size_t>(firstIndex) + static_cast<size_t>(indexCount) > ib.count())
        return;
    prepareDraw(vb.format());
    glBindVertexArray(vb.vertexArray());
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, ib.glName());
    const size_t indexBytes = ib.is32Bit() ? 4 : 2;
    glDrawElementsBaseVertex(glPrimitive(type), indexCount,
                             ib.is32Bit() ? GL_UNSIGNED_INT : GL_UNSIGNED_SHORT,
                             reinterpret_cast<const void*>(static_cast<size_t>(firstIndex) * indexBytes),
                             baseVertex);
    ++drawCalls_;
    verticesDrawn_ += indexCount;
}
