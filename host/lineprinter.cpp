#include "lineprinter.h"
