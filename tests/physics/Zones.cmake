# Tests of zones and quadtrees.
