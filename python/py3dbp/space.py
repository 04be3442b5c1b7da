"""Free space of one bin: the boxes placed so far and the corner points
where the next box may go.

Axes: x runs along the bin's width, y along its height (up) and z along its
depth. A box put at point (x, y, z) with size (a, b, c) occupies
[x, x + a) x [y, y + b) x [z, z + c). Two boxes overlap only when their
interiors do; touching faces is fine.

Candidate points ("extreme points") are made from every placed box's three
far corners and from those corners pushed back along the other axes until
they meet a placed box or a wall. Each point keeps what it needs to test a
box cornered at it without looking at every placed box:

- the free length along each axis (the ray from the point to the nearest
  wall or box), which bounds the box's size, and
- the placed boxes that reach into the block spanned by those lengths, each
  reduced to its near corner relative to the point: a box of size (a, b, c)
  at the point overlaps such an obstacle exactly when the corner's offsets
  are below a, b and c. Only the obstacles whose corners are not dominated
  by another's are kept, usually a handful.

Points that end up inside a placed box, or that see no free length along
some axis, are dropped; a dropped location is never offered again, as free
space only shrinks.

All comparisons allow a tolerance proportional to the bin's size, so that
dimensions given as floats (28.000000, sums of decimals) neither invent
overlaps nor reject a box exactly as large as the gap it goes into.
"""

from bisect import insort


class Space:
    """Placed boxes and candidate points of one bin."""

    __slots__ = ("width", "height", "depth", "eps", "boxes", "points",
                 "smallest", "_tried")

    def __init__(self, width, height, depth):
        self.width = width
        self.height = height
        self.depth = depth
        self.eps = 1e-9 * max(1.0, width, height, depth)
        # Placed boxes as (x1, y1, z1, x2, y2, z2).
        self.boxes = []
        # Points as (y, z, x, rx, ry, rz, s1, s2, s3, obstacles): the sort
        # order is the placement preference (lowest, then rearmost, then
        # leftmost); r* are the free lengths along each axis, s1 <= s2 <= s3
        # the same sorted, and obstacles a list of corner offsets
        # (ox, oy, oz).
        self.points = []
        # Sorted sizes that every box still to come reaches at least; points
        # with less room are of no use and get dropped. The caller raises it
        # as the boxes left to place get fewer.
        self.smallest = (0.0, 0.0, 0.0)
        # Every location ever made a point (or refused as one).
        self._tried = set()
        self._add_point(0.0, 0.0, 0.0)

    # -- queries -----------------------------------------------------------

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
        for p in self.points:
            if p[6] < t1 or p[7] < t2 or p[8] < t3:
                continue
            y, z, x, rx, ry, rz = p[0], p[1], p[2], p[3], p[4], p[5]
            obstacles = p[9]
            best = None
            best_score = None
            for a, b, c, rot in orientations:
                if a - e > rx or b - e > ry or c - e > rz:
                    continue
                ae = a - e
                be = b - e
                ce = c - e
                for ox, oy, oz in obstacles:
                    if ox < ae and oy < be and oz < ce:
                        break
                else:
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
        x2 = x + a
        y2 = y + b
        z2 = z + c
        self._cut_points(x, y, z, x2, y2, z2)
        self.boxes.append((x, y, z, x2, y2, z2))
        add = self._add_point
        add(x2, y, z)
        add(x2, self._drop_y(x2, y, z), z)
        add(x2, y, self._drop_z(x2, y, z))
        add(x, y2, z)
        add(self._drop_x(x, y2, z), y2, z)
        add(x, y2, self._drop_z(x, y2, z))
        add(x, y, z2)
        add(self._drop_x(x, y, z2), y, z2)
        add(x, self._drop_y(x, y, z2), z2)

    def _cut_points(self, x1, y1, z1, x2, y2, z2):
        """Update the points whose free block the new box reaches into:
        drop those it covers, shorten the free lengths it blocks, and note
        it as an obstacle of the others."""
        e = self.eps
        hx, hy, hz = x2 - e, y2 - e, z2 - e
        m1, m2, m3 = (m - e for m in self.smallest)
        kept = []
        for p in self.points:
            if p[6] < m1 or p[7] < m2 or p[8] < m3:
                continue            # too small for what is left to place
            py, pz, px = p[0], p[1], p[2]
            rx, ry, rz = p[3], p[4], p[5]
            if (px >= hx or py >= hy or pz >= hz or x1 >= px + rx - e
                    or y1 >= py + ry - e or z1 >= pz + rz - e):
                kept.append(p)      # the box misses the point's free block
                continue
            ox = x1 - px
            oy = y1 - py
            oz = z1 - pz
            nx = ox <= e
            ny = oy <= e
            nz = oz <= e
            if ny and nz:
                if nx:
                    continue        # covered
                rx = ox
            elif nx and nz:
                ry = oy
            elif nx and ny:
                rz = oz
            else:
                _add_obstacle(p[9], ox, oy, oz)
                kept.append(p)
                continue
            s1, s2, s3 = sorted((rx, ry, rz))
            if s1 >= m1 and s2 >= m2 and s3 >= m3:
                kept.append((py, pz, px, rx, ry, rz, s1, s2, s3, p[9]))
        self.points = kept

    def _add_point(self, x, y, z):
        """Make (x, y, z) a candidate point unless it was tried before, lies
        outside the bin or inside a placed box."""
        key = (x, y, z)
        if key in self._tried:
            return
        self._tried.add(key)
        e = self.eps
        rx = self.width - x
        ry = self.height - y
        rz = self.depth - z
        if rx <= e or ry <= e or rz <= e:
            return
        near = []
        for x1, y1, z1, x2, y2, z2 in self.boxes:
            if x2 - e <= x or y2 - e <= y or z2 - e <= z:
                continue            # wholly behind the point
            ox = x1 - x
            oy = y1 - y
            oz = z1 - z
            nx = ox <= e
            ny = oy <= e
            nz = oz <= e
            if ny and nz:
                if nx:
                    return          # inside
                if ox < rx:
                    rx = ox
            elif nx and nz:
                if oy < ry:
                    ry = oy
            elif nx and ny:
                if oz < rz:
                    rz = oz
            else:
                near.append((ox, oy, oz))
        obstacles = []
        for ox, oy, oz in near:
            if ox < rx - e and oy < ry - e and oz < rz - e:
                _add_obstacle(obstacles, ox, oy, oz)
        s1, s2, s3 = sorted((rx, ry, rz))
        m1, m2, m3 = self.smallest
        if s1 >= m1 - e and s2 >= m2 - e and s3 >= m3 - e:
            insort(self.points, (y, z, x, rx, ry, rz, s1, s2, s3, obstacles))

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


def _add_obstacle(obstacles, ox, oy, oz):
    """Add a corner offset to a point's obstacles, keeping only corners
    that no other corner dominates (one at most as far on every axis
    blocks every box the farther one blocks)."""
    for cx, cy, cz in obstacles:
        if cx <= ox and cy <= oy and cz <= oz:
            return
    obstacles[:] = [c for c in obstacles
                    if not (ox <= c[0] and oy <= c[1] and oz <= c[2])]
    obstacles.append((ox, oy, oz))


def _repeats(free, size, eps):
    """How many boxes of this size fit end to end into the free length
    (a flat box counts once)."""
    if size <= eps:
        return 1
    return int((free + eps) // size)
