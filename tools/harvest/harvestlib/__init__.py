"""The catalogue harvester: units, preprocessing, evaluation by the compiler, notation, output."""
