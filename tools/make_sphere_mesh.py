#!/usr/bin/env python3
# Generates the UV spheres of Media/Models/ as text DirectX X files: positions, normals,
# texture coordinates for an equirectangular map and one textured material, Direct3D winding.
import math
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from output import write_text, run_data_generator  # noqa: E402

# file name: (slices around the pole axis, stacks from pole to pole)
LEVELS = {
    "sphere_lo.x": (16, 8),
    "sphere_mid.x": (32, 16),
    "sphere_hi.x": (64, 32),
}
# Radius of the spheres: the renderer's body display radius. The renderer scales every mesh to
# that radius, so a sphere made at it is drawn unscaled and its unit normals stay unit length
# under fixed-function lighting (which does not renormalise them): a smaller sphere would be
# lit too dimly, a larger one too brightly.
RADIUS = 2.31417
# The renderer replaces the texture by the object's own; this name keeps the file viewable alone.
TEXTURE_NAME = "../Textures/earth.jpg"


def direction(lat_rad, lon_rad):
    """Unit vector at latitude/longitude in the mesh frame: +y north pole, longitude 0 along +z,
    longitude +90 deg (east) along -x; the same mapping as right ascension in the world frame, so
    a map seen from outside is not mirrored and positive spin moves the surface westward."""
    return (-math.cos(lat_rad) * math.sin(lon_rad), math.sin(lat_rad),
            math.cos(lat_rad) * math.cos(lon_rad))


def sphere(slices, stacks):
    """Returns (unit directions, texture coordinates, triangles) of a unit sphere.

    Rows run from the north pole (v = 0) to the south pole (v = 1); columns from longitude -180
    (u = 0) to +180 deg (u = 1), the seam column duplicated so the map wraps exactly once. Pole
    rows hold one vertex per slice, with u at the middle of the slice."""
    positions, uvs = [], []
    for i in range(stacks + 1):
        lat = math.pi / 2 - math.pi * i / stacks
        for j in range(slices + 1):
            u = j / slices
            if i in (0, stacks):
                u = (j + 0.5) / slices if j < slices else 1.0
            lon = -math.pi + 2 * math.pi * j / slices
            p = direction(lat, lon)
            if i == 0:
                p = (0.0, 1.0, 0.0)
            elif i == stacks:
                p = (0.0, -1.0, 0.0)
            positions.append(p)
            uvs.append((u, i / stacks))

    def index(i, j):
        return i * (slices + 1) + j

    triangles = []
    for i in range(stacks):
        for j in range(slices):
            a, b = index(i, j), index(i, j + 1)
            c, d = index(i + 1, j), index(i + 1, j + 1)
            if i != 0:
                triangles.append((a, b, c))
            if i != stacks - 1:
                triangles.append((b, d, c))
    return positions, uvs, triangles


def faces_outward_clockwise(positions, triangle):
    """Direct3D front faces are clockwise as seen by the viewer; in left-handed coordinates that
    is an edge cross product pointing toward the viewer, here away from the sphere's centre."""
    p0, p1, p2 = (positions[k] for k in triangle)
    e1 = [p1[n] - p0[n] for n in range(3)]
    e2 = [p2[n] - p0[n] for n in range(3)]
    cross = (e1[1] * e2[2] - e1[2] * e2[1], e1[2] * e2[0] - e1[0] * e2[2],
             e1[0] * e2[1] - e1[1] * e2[0])
    centre = [(p0[n] + p1[n] + p2[n]) / 3 for n in range(3)]
    return sum(c * m for c, m in zip(cross, centre)) > 0


def number(value):
    text = "%.6f" % value
    return "0.000000" if text == "-0.000000" else text


def x_file_text(slices, stacks):
    positions, uvs, triangles = sphere(slices, stacks)
    triangles = [t if faces_outward_clockwise(positions, t) else (t[0], t[2], t[1])
                 for t in triangles]
    if not all(faces_outward_clockwise(positions, t) for t in triangles):
        raise RuntimeError("winding check failed")

    def vector_list(vectors):
        rows = [";".join(number(c) for c in v) + ";" for v in vectors]
        return ",\n".join("  " + r for r in rows) + ";"

    def face_list():
        rows = ["3;%d,%d,%d;" % t for t in triangles]
        return ",\n".join("  " + r for r in rows) + ";"

    out = ["xof 0303txt 0032", "",
           "// Sphere of radius %g, %d slices x %d stacks; +y is the pole axis."
           % (RADIUS, slices, stacks),
           "Mesh Sphere {",
           "  %d;" % len(positions), vector_list([[c * RADIUS for c in p] for p in positions]),
           "  %d;" % len(triangles), face_list(), "",
           "  MeshNormals {",
           "  %d;" % len(positions), vector_list(positions),
           "  %d;" % len(triangles), face_list(),
           "  }", "",
           "  MeshTextureCoords {",
           "  %d;" % len(uvs), vector_list(uvs),
           "  }", "",
           "  MeshMaterialList {",
           "  1;",
           "  %d;" % len(triangles),
           ",\n".join("  0" for _ in triangles) + ";",
           "  Material {",
           "   1.000000;1.000000;1.000000;1.000000;;",
           "   0.000000;",
           "   0.000000;0.000000;0.000000;;",
           "   0.000000;0.000000;0.000000;;",
           "   TextureFilename {",
           '    "%s";' % TEXTURE_NAME,
           "   }",
           "  }",
           "  }",
           "}", ""]
    return "\n".join(out)


def build(out_dir):
    written = []
    for name, (slices, stacks) in sorted(LEVELS.items()):
        relative = "Media/Models/" + name
        write_text(os.path.join(out_dir, relative), x_file_text(slices, stacks))
        written.append(relative)
    return written


def main():
    run_data_generator(build, "Generates the sphere meshes.")


if __name__ == "__main__":
    main()
