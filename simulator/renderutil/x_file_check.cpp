// Token-level walk over a text X file with an explicit stack (no recursion a file can deepen),
// splitting the text exactly where the importer splits it and writing every token back out in a
// plain form, so that the importer reads the very tokens that were checked. Only the numbers that
// stand directly in a block are collected; each mesh block's numbers are checked when its first
// child opens or when it closes, whichever comes first.
#include "x_file_check.h"

#include <algorithm>
#include <charconv>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <vector>

namespace {

struct Block {
    std::string kind;             // the identifier before "{" ("Mesh", "Frame", "template", ...)
    std::vector<double> numbers;  // numbers directly inside this block
    bool checked = false;
    size_t vertices = 0;  // Mesh: after its check
    size_t faces = 0;
    size_t children = 0;
};

// The objects of the X format that the importer knows. An object of any other kind is taken only
// when the file declares its template: the importer mishandles unknown objects in some places.
bool isKnownKind(const std::string& kind) {
    static const char* const kKnown[] = {
        "Header", "Frame", "FrameTransformMatrix", "Mesh", "MeshNormals", "MeshTextureCoords",
        "MeshVertexColors", "MeshMaterialList", "Material", "TextureFilename", "TextureFileName",
        "AnimationSet", "Animation", "AnimationKey", "AnimationOptions", "AnimTicksPerSecond",
        "XSkinMeshHeader", "SkinWeights", "VertexDuplicationIndices", "FVFData", "DeclData",
        "EffectInstance", "EffectParamDWord", "EffectParamFloats", "EffectParamString",
        "Vector", "Coords2d", "ColorRGBA", "ColorRGB", "MeshFace", "Matrix4x4", "Boolean", "Boolean2d",
        "MaterialWrap", "FloatKeys", "TimedFloatKeys", "IndexedColor", "MeshFaceWraps"};
    for (const char* known : kKnown)
        if (kind == known) return true;
    return false;
}

bool isNumberStart(char c) { return (c >= '0' && c <= '9') || c == '-' || c == '+' || c == '.'; }

// Reads count, then `count` entries of `perEntry` numbers each, from numbers[at]; false if short.
// A face list instead has entries of "n; i1, ..., in" whose indices must be below `limit`.
class NumberReader {
public:
    explicit NumberReader(const std::vector<double>& numbers) : numbers_(numbers) {}
    bool count(size_t& out) {
        if (at_ >= numbers_.size()) return false;
        double v = numbers_[at_++];
        if (v < 0 || v > kMaxXElements || v != std::floor(v)) return false;
        out = static_cast<size_t>(v);
        return true;
    }
    bool skip(size_t n) {
        if (numbers_.size() - at_ < n) return false;
        at_ += n;
        return true;
    }
    bool index(size_t limit) {
        if (at_ >= numbers_.size()) return false;
        double v = numbers_[at_++];
        return v >= 0 && v < static_cast<double>(limit) && v == std::floor(v);
    }
    bool faces(size_t faceCount, size_t limit) {
        for (size_t f = 0; f < faceCount; ++f) {
            size_t n = 0;
            if (!count(n) || n > 64) return false;
            for (size_t k = 0; k < n; ++k)
                if (!index(limit)) return false;
        }
        return true;
    }

private:
    const std::vector<double>& numbers_;
    size_t at_ = 0;
};

std::optional<std::string> checkMesh(Block& mesh) {
    NumberReader r(mesh.numbers);
    if (!r.count(mesh.vertices) || !r.skip(mesh.vertices * 3) || !r.count(mesh.faces) ||
        !r.faces(mesh.faces, mesh.vertices))
        return "a Mesh whose vertex or face list is short, too long or names a vertex that does not exist";
    mesh.checked = true;
    return std::nullopt;
}

std::optional<std::string> checkChild(const Block& child, const Block& mesh) {
    NumberReader r(child.numbers);
    size_t n = 0;
    if (child.kind == "MeshNormals") {
        size_t faces = 0;
        if (!r.count(n) || !r.skip(n * 3) || !r.count(faces) || faces != mesh.faces || !r.faces(faces, n))
            return "MeshNormals whose lists do not match the mesh or name a normal that does not exist";
    } else if (child.kind == "MeshTextureCoords") {
        if (!r.count(n) || n != mesh.vertices || !r.skip(n * 2))
            return "MeshTextureCoords whose count does not match the mesh's vertices";
    } else if (child.kind == "MeshVertexColors") {
        if (!r.count(n) || n > mesh.vertices) return "MeshVertexColors with more colours than vertices";
        for (size_t k = 0; k < n; ++k)
            if (!r.index(mesh.vertices) || !r.skip(4)) return "MeshVertexColors naming a vertex that does not exist";
    } else if (child.kind == "MeshMaterialList") {
        size_t materials = 0, faces = 0;
        if (!r.count(materials) || !r.count(faces) || faces > mesh.faces)
            return "a MeshMaterialList whose counts do not match the mesh";
        // Each material is given as a Material object or a reference "{ name }".
        if (child.children != materials) return "a MeshMaterialList whose materials are not all given";
        for (size_t k = 0; k < faces; ++k)
            if (!r.index(materials == 0 ? 1 : materials)) return "a MeshMaterialList naming a material that does not exist";
    }
    return std::nullopt;
}

// The importer's own reading of text: blanks are what isspace() says (form feed and vertical tab
// included), ";", ",", "{" and "}" stand alone, "#" and "//" at the start of a token begin a
// comment. Quoted strings and GUIDs are taken whole here; they are let through only when they hold
// nothing that the importer, reading them token by token where it does, could take for structure.
bool isImporterBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }
bool isDelimiter(char c) { return c == ';' || c == ',' || c == '{' || c == '}'; }

// A string or GUID body the importer cannot misread: printable, no delimiter, quote or comment
// start; blanks only as plain spaces (they split a token, never open or close a block).
bool isInertText(std::string_view body) {
    for (char c : body) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 0x20 || u == 0x7f || isDelimiter(c) || c == '"' || c == '#') return false;
    }
    return body.find("//") == std::string_view::npos;
}

// Words the importer takes for a number where it expects one: "nan", "inf", "infinity" in any
// case. Any other word fails there with a clean error.
bool readsAsNonFiniteNumber(std::string_view word) {
    std::string lower;
    for (char c : word) lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return lower == "nan" || lower == "inf" || lower == "infinity";
}

// Numbers are written back in one plain form: integers as integers, others with nine digits.
std::string formatNumber(double value) {
    char buffer[32];
    if (value == std::floor(value) && std::fabs(value) < 2147483648.0) {
        std::snprintf(buffer, sizeof buffer, "%lld", static_cast<long long>(value));
    } else {
        std::snprintf(buffer, sizeof buffer, "%.9g", value);
    }
    return buffer;
}

}  // namespace

std::optional<std::string> normaliseXFileText(std::string_view text, std::string& out) {
    out.clear();
    if (text.size() < 16 || text.substr(0, 4) != "xof ") return "not an X file";
    if (text.substr(8, 4) != "txt ") return "not a text X file (binary and compressed X files are not read)";
    for (char c : text.substr(0, 16))
        if (!std::isalnum(static_cast<unsigned char>(c)) && c != ' ') return "not an X file";
    out.reserve(text.size());
    out.append(text.substr(0, 16));
    out += '\n';

    std::vector<Block> stack;
    stack.push_back({"file", {}, true, 0, 0, 0});
    std::vector<std::string> declared;  // names of the templates the file declares
    std::string lastWord, wordBefore;  // the identifiers that precede a "{"
    // Tokens are written with one blank or line end after them; a quoted string is closed by its
    // ";" directly, as the importer requires, so the blank after it waits for the next token.
    auto emit = [&](std::string_view token) {
        if (!out.empty() && out.back() == '"' && token != ";") out += ' ';
        out.append(token);
        if (token.back() != '"') out += (token == ";" || token == "{" || token == "}") ? '\n' : ' ';
    };
    size_t i = 16;
    while (i < text.size()) {
        char c = text[i];
        if (isImporterBlank(c)) {
            ++i;
        } else if (c == '#' || (c == '/' && i + 1 < text.size() && text[i + 1] == '/')) {
            while (i < text.size() && text[i] != '\n' && text[i] != '\r') ++i;
        } else if (c == '"' || c == '<') {
            const char close = c == '"' ? '"' : '>';
            const size_t end = text.find(close, i + 1);
            if (end == std::string_view::npos) return c == '"' ? "a string without its closing quote" : "a GUID without its closing \">\"";
            const std::string_view body = text.substr(i + 1, end - i - 1);
            if (!isInertText(body) || (c == '<' && body.find(' ') != std::string_view::npos))
                return "a quoted name or GUID holding line ends, braces, separators or comment marks";
            emit(text.substr(i, end + 1 - i));
            lastWord.clear();
            wordBefore.clear();
            i = end + 1;
        } else if (c == '{') {
            if (stack.size() > kMaxXNesting) return "blocks nested more than 64 deep";
            Block& parent = stack.back();
            if (parent.kind == "Mesh" && !parent.checked)
                if (auto e = checkMesh(parent)) return e;
            // "Kind name {" or "Kind {": the kind is the word before the name, if there is a name.
            // "{ name }" (a reference) and "{" after numbers have no kind.
            std::string kind = wordBefore.empty() ? lastWord : wordBefore;
            if (kind == "template") {
                declared.push_back(lastWord);
            } else if (!kind.empty() && !isKnownKind(kind) &&
                       std::find(declared.begin(), declared.end(), kind) == declared.end()) {
                return "an object of a kind the file does not declare";
            }
            stack.push_back({kind, {}, false, 0, 0, 0});
            lastWord.clear();
            wordBefore.clear();
            emit("{");
            ++i;
        } else if (c == '}') {
            if (stack.size() <= 1) return "a \"}\" without its \"{\"";
            Block closed = std::move(stack.back());
            stack.pop_back();
            ++stack.back().children;
            if (closed.kind == "Mesh" && !closed.checked)
                if (auto e = checkMesh(closed)) return e;
            if (stack.back().kind == "Mesh")
                if (auto e = checkChild(closed, stack.back())) return e;
            lastWord.clear();
            wordBefore.clear();
            emit("}");
            ++i;
        } else if (c == ';' || c == ',') {
            emit(text.substr(i, 1));
            ++i;
        } else {
            size_t end = i;
            while (end < text.size() && !isImporterBlank(text[end]) && !isDelimiter(text[end])) ++end;
            std::string_view token = text.substr(i, end - i);
            if (isNumberStart(c)) {
                double value = 0;
                const char* first = token.data() + (token.front() == '+' ? 1 : 0);
                const char* last = token.data() + token.size();
                auto [ptr, ec] = std::from_chars(first, last, value);
                if (ec != std::errc() || ptr != last || !std::isfinite(value))
                    return "a number that is not finite or not a number";
                stack.back().numbers.push_back(value);
                emit(formatNumber(value));
                lastWord.clear();
                wordBefore.clear();
            } else {
                for (char t : token)
                    if (static_cast<unsigned char>(t) < 0x20 || t == 0x7f || t == '"')
                        return "a word holding control characters or a quote";
                if (readsAsNonFiniteNumber(token)) return "a number that is not finite or not a number";
                emit(token);
                // Template member declarations ("array Vector vertices[nVertices]") name a kind
                // before the "[": only the part before it counts as a word.
                wordBefore = lastWord;
                lastWord = std::string(token.substr(0, token.find('[')));
            }
            i = end;
        }
    }
    if (stack.size() != 1) return "a \"{\" without its \"}\"";
    return std::nullopt;
}

std::optional<std::string> checkXFileText(std::string_view text) {
    std::string normalised;
    return normaliseXFileText(text, normalised);
}
