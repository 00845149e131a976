#pragma once

// The tank volume tool's code module: units, shapes and volumes, products and net volume.
#include "model/product.h"
#include "model/tankmodel.h"
#include "model/units.h"
