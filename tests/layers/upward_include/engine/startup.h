// Stands in for the engine's top in the layer check's own test.
#pragma once
