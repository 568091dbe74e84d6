// GL objects owned by the device's users: textures, vertex buffers with their vertex arrays,
// index buffers, and the attribute layout of every vertex format.
#include <epoxy/gl.h>

#include <utility>

#include "gl_device.h"
#include "gl_resources.h"
#include "gl_shaders.h"

ColorF colorFromArgb(uint32_t argb) {
    return {static_cast<float>((argb >> 16) & 0xFF) / 255.0f,
            static_cast<float>((argb >> 8) & 0xFF) / 255.0f,
            static_cast<float>(argb & 0xFF) / 255.0f,
            static_cast<float>((argb >> 24) & 0xFF) / 255.0f};
}

size_t vertexStride(VertexFormat format) {
    switch (format) {
        case VertexFormat::PositionNormalUv: return sizeof(VertexPnt);
        case VertexFormat::PositionUv: return sizeof(VertexPt);
        case VertexFormat::PositionColor: return sizeof(VertexPc);
        case VertexFormat::Screen: return sizeof(VertexScreen);
    }
    return sizeof(VertexPnt);
}

int verticesForPrimitives(PrimitiveType type, int primitiveCount) {
    if (primitiveCount <= 0) return 0;
    switch (type) {
        case PrimitiveType::TriangleList: return primitiveCount * 3;
        case PrimitiveType::TriangleStrip:
        case PrimitiveType::TriangleFan: return primitiveCount + 2;
        case PrimitiveType::LineList: return primitiveCount * 2;
        case PrimitiveType::PointList: return primitiveCount;
    }
    return 0;
}

static const void* byteOffset(size_t bytes) { return reinterpret_cast<const void*>(bytes); }

void setupVertexAttributes(VertexFormat format) {
    const auto stride = static_cast<GLsizei>(vertexStride(format));
    glDisableVertexAttribArray(kAttrNormal);
    glDisableVertexAttribArray(kAttrColor);
    glDisableVertexAttribArray(kAttrUv);
    glEnableVertexAttribArray(kAttrPosition);
    switch (format) {
        case VertexFormat::PositionNormalUv:
            glVertexAttribPointer(kAttrPosition, 3, GL_FLOAT, GL_FALSE, stride, byteOffset(0));
            glEnableVertexAttribArray(kAttrNormal);
            glVertexAttribPointer(kAttrNormal, 3, GL_FLOAT, GL_FALSE, stride, byteOffset(12));
            glEnableVertexAttribArray(kAttrUv);
            glVertexAttribPointer(kAttrUv, 2, GL_FLOAT, GL_FALSE, stride, byteOffset(24));
            break;
        case VertexFormat::PositionUv:
            glVertexAttribPointer(kAttrPosition, 3, GL_FLOAT, GL_FALSE, stride, byteOffset(0));
            glEnableVertexAttribArray(kAttrUv);
            glVertexAttribPointer(kAttrUv, 2, GL_FLOAT, GL_FALSE, stride, byteOffset(12));
            break;
        case VertexFormat::PositionColor:
            glVertexAttribPointer(kAttrPosition, 3, GL_FLOAT, GL_FALSE, stride, byteOffset(0));
            glEnableVertexAttribArray(kAttrColor);
            // An ARGB value in memory is the bytes B, G, R, A: GL_BGRA swizzles it to RGBA.
            glVertexAttribPointer(kAttrColor, GL_BGRA, GL_UNSIGNED_BYTE, GL_TRUE, stride,
                                  byteOffset(12));
            break;
        case VertexFormat::Screen:
            glVertexAttribPointer(kAttrPosition, 4, GL_FLOAT, GL_FALSE, stride, byteOffset(0));
            glEnableVertexAttribArray(kAttrColor);
            glVertexAttribPointer(kAttrColor, GL_BGRA, GL_UNSIGNED_BYTE, GL_TRUE, stride,
                                  byteOffset(16));
            glEnableVertexAttribArray(kAttrUv);
            glVertexAttribPointer(kAttrUv, 2, GL_FLOAT, GL_FALSE, stride, byteOffset(20));
            break;
    }
}

// ---- GlTexture ----

GlTexture::~GlTexture() { release(); }

GlTexture::GlTexture(GlTexture&& other) noexcept
    : name_(std::exchange(other.name_, 0u)),
      width_(std::exchange(other.width_, 0)),
      height_(std::exchange(other.height_, 0)),
      mipmaps_(std::exchange(other.mipmaps_, false)) {}

GlTexture& GlTexture::operator=(GlTexture&& other) noexcept {
    if (this != &other) {
        release();
        name_ = std::exchange(other.name_, 0u);
        width_ = std::exchange(other.width_, 0);
        height_ = std::exchange(other.height_, 0);
        mipmaps_ = std::exchange(other.mipmaps_, false);
    }
    return *this;
}

bool GlTexture::create(const Image& image, bool mipmaps) {
    release();
    if (image.empty() || image.rgba.size() < image.offset(0, image.height)) return false;
    GLuint name = 0;
    glGenTextures(1, &name);
    if (name == 0) return false;
    while (glGetError() != GL_NO_ERROR) {
    }
    glBindTexture(GL_TEXTURE_2D, name);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, image.width, image.height, 0, GL_RGBA,
                 GL_UNSIGNED_BYTE, image.rgba.data());
    if (mipmaps) glGenerateMipmap(GL_TEXTURE_2D);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, mipmaps ? 1000 : 0);
    const bool ok = glGetError() == GL_NO_ERROR;
    glBindTexture(GL_TEXTURE_2D, 0);
    if (!ok) {
        glDeleteTextures(1, &name);
        return false;
    }
    name_ = name;
    width_ = image.width;
    height_ = image.height;
    mipmaps_ = mipmaps;
    return true;
}

bool GlTexture::update(const Image& image) {
    if (name_ == 0 || image.width != width_ || image.height != height_ ||
        image.rgba.size() < image.offset(0, image.height))
        return false;
    glBindTexture(GL_TEXTURE_2D, name_);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, width_, height_, GL_RGBA, GL_UNSIGNED_BYTE,
                    image.rgba.data());
    if (mipmaps_) glGenerateMipmap(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, 0);
    return true;
}

void GlTexture::release() {
    if (name_ != 0) glDeleteTextures(1, &name_);
    name_ = 0;
    width_ = height_ = 0;
    mipmaps_ = false;
}

// ---- GlVertexBuffer ----

GlVertexBuffer::~GlVertexBuffer() { release(); }

GlVertexBuffer::GlVertexBuffer(GlVertexBuffer&& other) noexcept
    : buffer_(std::exchange(other.buffer_, 0u)),
      vao_(std::exchange(other.vao_, 0u)),
      bytes_(std::exchange(other.bytes_, 0u)),
      format_(other.format_),
      dynamic_(other.dynamic_) {}

GlVertexBuffer& GlVertexBuffer::operator=(GlVertexBuffer&& other) noexcept {
    if (this != &other) {
        release();
        buffer_ = std::exchange(other.buffer_, 0u);
        vao_ = std::exchange(other.vao_, 0u);
        bytes_ = std::exchange(other.bytes_, 0u);
        format_ = other.format_;
        dynamic_ = other.dynamic_;
    }
    return *this;
}

bool GlVertexBuffer::create(const void* data, size_t bytes, VertexFormat format, bool dynamic) {
    release();
    while (glGetError() != GL_NO_ERROR) {
    }
    glGenVertexArrays(1, &vao_);
    glGenBuffers(1, &buffer_);
    glBindVertexArray(vao_);
    glBindBuffer(GL_ARRAY_BUFFER, buffer_);
    glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(bytes), data,
                 dynamic ? GL_STREAM_DRAW : GL_STATIC_DRAW);
    setupVertexAttributes(format);
    glBindVertexArray(0);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    format_ = format;
    bytes_ = bytes;
    dynamic_ = dynamic;
    if (glGetError() != GL_NO_ERROR || vao_ == 0 || buffer_ == 0) {
        release();
        return false;
    }
    return true;
}

bool GlVertexBuffer::update(const void* data, size_t bytes) {
    if (buffer_ == 0) return false;
    glBindBuffer(GL_ARRAY_BUFFER, buffer_);
    const GLenum usage = dynamic_ ? GL_STREAM_DRAW : GL_STATIC_DRAW;
    if (bytes > bytes_) {
        glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(bytes), data, usage);
        bytes_ = bytes;
    } else {
        // Orphan the old storage so a draw still reading it never stalls this write.
        glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(bytes_), nullptr, usage);
        glBufferSubData(GL_ARRAY_BUFFER, 0, static_cast<GLsizeiptr>(bytes), data);
    }
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    return true;
}

void GlVertexBuffer::release() {
    if (vao_ != 0) glDeleteVertexArrays(1, &vao_);
    if (buffer_ != 0) glDeleteBuffers(1, &buffer_);
    vao_ = buffer_ = 0;
    bytes_ = 0;
}

// ---- GlIndexBuffer ----

GlIndexBuffer::~GlIndexBuffer() { release(); }

GlIndexBuffer::GlIndexBuffer(GlIndexBuffer&& other) noexcept
    : buffer_(std::exchange(other.buffer_, 0u)),
      count_(std::exchange(other.count_, 0u)),
      is32Bit_(other.is32Bit_) {}

GlIndexBuffer& GlIndexBuffer::operator=(GlIndexBuffer&& other) noexcept {
    if (this != &other) {
        release();
        buffer_ = std::exchange(other.buffer_, 0u);
        count_ = std::exchange(other.count_, 0u);
        is32Bit_ = other.is32Bit_;
    }
    return *this;
}

static bool createIndices(GLuint& buffer, const void* data, size_t bytes) {
    while (glGetError() != GL_NO_ERROR) {
    }
    glGenBuffers(1, &buffer);
    // Bound through GL_ARRAY_BUFFER so that no vertex array's element binding is disturbed.
    glBindBuffer(GL_ARRAY_BUFFER, buffer);
    glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(bytes), data, GL_STATIC_DRAW);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    return glGetError() == GL_NO_ERROR && buffer != 0;
}

bool GlIndexBuffer::create(const uint16_t* indices, size_t count) {
    release();
    is32Bit_ = false;
    count_ = count;
    if (!createIndices(buffer_, indices, count * sizeof(uint16_t))) {
        release();
        return false;
    }
    return true;
}

bool GlIndexBuffer::create(const uint32_t* indices, size_t count) {
    release();
    is32Bit_ = true;
    count_ = count;
    if (!createIndices(buffer_, indices, count * sizeof(uint32_t))) {
        release();
        return false;
    }
    return true;
}

void GlIndexBuffer::release() {
    if (buffer_ != 0) glDeleteBuffers(1, &buffer_);
    buffer_ = 0;
    count_ = 0;
}
