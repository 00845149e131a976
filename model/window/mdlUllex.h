#pragma once

// The tank volume tool's code module: units, shapes and volumes, products and net volume.
#include "model/window/product.h"
#include "model/window/tankmodel.h"
#include "model/units/units.h"
