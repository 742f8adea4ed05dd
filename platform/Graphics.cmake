# Sources of the drawing layer, added to ravel_platform.
target_sources(ravel_platform PRIVATE)
