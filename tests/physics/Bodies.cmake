# Tests of indexed bodies, rigs and body files.
