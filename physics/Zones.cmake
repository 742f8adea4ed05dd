# Sources of zones and quadtrees, added to ravel_physics.
target_sources(ravel_physics PRIVATE)
