#pragma once

// The tank volume tool's code module: units, shapes and volumes, products and net volume.
#include "product.h"
#include "tankmodel.h"
#include "units.h"
