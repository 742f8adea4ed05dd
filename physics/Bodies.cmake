# Sources of indexed bodies and rigs, added to ravel_physics.
