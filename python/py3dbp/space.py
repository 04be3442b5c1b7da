"""Free space of one bin: the boxes placed so far and the corner points
where the next box may go.

Axes: x runs along the bin's width, y along its height (up) and z along its
depth. A box put at point (x, y, z) with size (a, b, c) occupies
[x, x + a) x [y, y + b) x [z, z + c). Two boxes overlap only when their
interiors do; touching faces is fine.

Candidate points ("extreme points") are made from every placed box's three
far corners and from those corners pushed back along the other axes until
they meet a placed box or a wall. Each point carries the free length it sees
along each axis (the ray from the point to the nearest wall or box), which
gives a cheap necessary condition for a box to fit there. Points that end up
inside a placed box, or that see no free length along some axis, are dropped.

All comparisons allow a tolerance proportional to the bin's size, so that
dimensions given as floats (28.000000, sums of decimals) neither invent
overlaps nor reject a box exactly as large as the gap it goes into.
"""

from bisect import insort


class Space:
    """Placed boxes and candidate points of one bin."""

    __slots__ = ("width", "height", "depth", "eps", "boxes", "shrunk",
                 "points")

    def __init__(self, width, height, depth):
        self.width = width
        self.height = height
        self.depth = depth
        self.eps = 1e-9 * max(1.0, width, height, depth)
        # Placed boxes as (x1, y1, z1, x2, y2, z2).
        self.boxes = []
        # The same boxes shrunk by eps on every side: a candidate box
        # [x1, x2) ... overlaps one of them exactly when the plain strict
        # comparisons below hold, which keeps the hot loop free of arithmetic.
        self.shrunk = []
        # Points as (y, z, x, rx, ry, rz, s1, s2, s3): the sort order is the
        # placement preference (lowest, then rearmost, then leftmost); r* are
        # the free lengths along each axis and s1 <= s2 <= s3 the same sorted.
        self.points = []
        origin = self._make_point(0.0, 0.0, 0.0)
        if origin is not None:
            self.points.append(origin)

    # -- queries -----------------------------------------------------------

    def is_free(self, x1, y1, z1, x2, y2, z2):
        """True when the box [x1, x2) x [y1, y2) x [z1, z2) overlaps no
        placed box (bounds are checked by the caller)."""
        for bx1, by1, bz1, bx2, by2, bz2 in self.shrunk:
            if (bx1 < x2 and x1 < bx2 and by1 < y2 and y1 < by2
                    and bz1 < z2 and z1 < bz2):
                return False
        return True

    def find(self, orientations, d1, d2, d3):
        """Best place for a box, or None.

        orientations: (a, b, c, rotation) tuples, the box's distinct
        orientations; d1 <= d2 <= d3: its sizes sorted.

        The first candidate point in preference order that takes the box in
        some orientation wins. At that point the orientation is chosen that
        would repeat most often within the point's free lengths (so a run of
        equal boxes lines up instead of leaving slivers), then the one that
        leaves the least of those lengths unused, then the lower one, then
        the earlier rotation. Returns (x, y, z, a, b, c, rotation).
        """
        e = self.eps
        t1 = d1 - e
        t2 = d2 - e
        t3 = d3 - e
        is_free = self.is_free
        for p in self.points:
            if p[6] < t1 or p[7] < t2 or p[8] < t3:
                continue
            y, z, x, rx, ry, rz = p[0], p[1], p[2], p[3], p[4], p[5]
            best = None
            best_score = None
            for a, b, c, rot in orientations:
                if a - e > rx or b - e > ry or c - e > rz:
                    continue
                if not is_free(x, y, z, x + a, y + b, z + c):
                    continue
                score = (-_repeats(rx, a, e) * _repeats(ry, b, e)
                         * _repeats(rz, c, e),
                         (rx - a) / rx + (ry - b) / ry + (rz - c) / rz, b)
                if best is None or score < best_score:
                    best = (x, y, z, a, b, c, rot)
                    best_score = score
            if best is not None:
                return best
        return None

    # -- updates -----------------------------------------------------------

    def place(self, x, y, z, a, b, c):
        """Record a box of size (a, b, c) at (x, y, z) and update the
        candidate points."""
        e = self.eps
        x2 = x + a
        y2 = y + b
        z2 = z + c
        self._cut_points(x, y, z, x2, y2, z2)
        self.boxes.append((x, y, z, x2, y2, z2))
        self.shrunk.append((x + e, y + e, z + e, x2 - e, y2 - e, z2 - e))

        candidates = (
            (x2, y, z),
            (x2, self._drop_y(x2, y, z), z),
            (x2, y, self._drop_z(x2, y, z)),
            (x, y2, z),
            (self._drop_x(x, y2, z), y2, z),
            (x, y2, self._drop_z(x, y2, z)),
            (x, y, z2),
            (self._drop_x(x, y, z2), y, z2),
            (x, self._drop_y(x, y, z2), z2),
        )
        seen = set()
        points = self.points
        for q in candidates:
            if q in seen:
                continue
            seen.add(q)
            point = self._make_point(q[0], q[1], q[2])
            if point is not None:
                insort(points, point)

    def _cut_points(self, x1, y1, z1, x2, y2, z2):
        """Drop the points the new box covers and shorten the free lengths
        of the points whose rays it blocks."""
        e = self.eps
        lx, ly, lz = x1 - e, y1 - e, z1 - e
        hx, hy, hz = x2 - e, y2 - e, z2 - e
        kept = []
        for p in self.points:
            py, pz, px = p[0], p[1], p[2]
            if px >= hx or py >= hy or pz >= hz:
                kept.append(p)      # the box lies wholly behind the point
                continue
            inx = px >= lx
            iny = py >= ly
            inz = pz >= lz
            if inx and iny and inz:
                continue            # covered
            rx, ry, rz = p[3], p[4], p[5]
            if iny and inz:
                rx = min(rx, x1 - px)
            elif inx and inz:
                ry = min(ry, y1 - py)
            elif inx and iny:
                rz = min(rz, z1 - pz)
            else:
                kept.append(p)
                continue
            if rx <= e or ry <= e or rz <= e:
                continue
            s1, s2, s3 = sorted((rx, ry, rz))
            kept.append((py, pz, px, rx, ry, rz, s1, s2, s3))
        self.points = kept

    def _make_point(self, x, y, z):
        """The point tuple for (x, y, z), or None if no box can go there."""
        e = self.eps
        rx = self.width - x
        ry = self.height - y
        rz = self.depth - z
        if rx <= e or ry <= e or rz <= e:
            return None
        for x1, y1, z1, x2, y2, z2 in self.boxes:
            if x2 - e <= x or y2 - e <= y or z2 - e <= z:
                continue
            inx = x1 - e <= x
            iny = y1 - e <= y
            inz = z1 - e <= z
            if iny and inz:
                if inx:
                    return None
                if x1 - x < rx:
                    rx = x1 - x
            elif inx and inz:
                if y1 - y < ry:
                    ry = y1 - y
            elif inx and iny:
                if z1 - z < rz:
                    rz = z1 - z
        if rx <= e or ry <= e or rz <= e:
            return None
        s1, s2, s3 = sorted((rx, ry, rz))
        return (y, z, x, rx, ry, rz, s1, s2, s3)

    # Pushing a point back along one axis: it stops at the far face of the
    # nearest box whose cross-section holds the point, or at the wall.

    def _drop_x(self, x, y, z):
        e = self.eps
        best = 0.0
        for x1, y1, z1, x2, y2, z2 in self.boxes:
            if (best < x2 <= x + e and y1 - e <= y < y2 - e
                    and z1 - e <= z < z2 - e):
                best = x2
        return best

    def _drop_y(self, x, y, z):
        e = self.eps
        best = 0.0
        for x1, y1, z1, x2, y2, z2 in self.boxes:
            if (best < y2 <= y + e and x1 - e <= x < x2 - e
                    and z1 - e <= z < z2 - e):
                best = y2
        return best

    def _drop_z(self, x, y, z):
        e = self.eps
        best = 0.0
        for x1, y1, z1, x2, y2, z2 in self.boxes:
            if (best < z2 <= z + e and x1 - e <= x < x2 - e
                    and y1 - e <= y < y2 - e):
                best = z2
        return best


def _repeats(free, size, eps):
    """How many boxes of this size fit end to end into the free length
    (a flat box counts once)."""
    if size <= eps:
        return 1
    return int((free + eps) // size)
