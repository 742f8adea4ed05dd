# Tests of the world, the step, masses, constraints and events.
