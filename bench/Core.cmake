# Benchmarks of the step.
