# Benchmarks of zones.
