// A check of a text X file before it reaches the importer, which trusts the counts and indices it
// reads: a crafted index or a deep nest of frames must be refused here rather than crash later.
#pragma once

#include <optional>
#include <string>
#include <string_view>

// Limits far above any real model and low enough that nothing a file asks for exhausts memory.
inline constexpr size_t kMaxXNesting = 64;
inline constexpr double kMaxXElements = 4.0 * 1024 * 1024;  // vertices, normals, faces, coordinates

// Why contents cannot be imported safely, or nothing when it can: only text X files ("xof ....txt ")
// are taken; braces nest at most kMaxXNesting deep; every number is finite; in Mesh, MeshNormals,
// MeshTextureCoords, MeshVertexColors and MeshMaterialList the counts are sane, the lists as long
// as their counts say, and every index names an element that exists.
std::optional<std::string> checkXFileText(std::string_view contents);

// The same check, writing out the text to hand the importer instead of the file's own: the very
// tokens that were checked, split where the importer splits them (every isspace() blank, ";", ",",
// "{", "}"), comments dropped, numbers in one plain form, one blank between tokens. Quoted strings
// and GUIDs holding anything the importer could read as structure are refused, so what the
// importer reads cannot differ from what was checked.
std::optional<std::string> normaliseXFileText(std::string_view contents, std::string& normalised);
