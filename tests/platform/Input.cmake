# Tests of the input layer.
