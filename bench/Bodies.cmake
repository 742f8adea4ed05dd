# Benchmarks of bodies.
