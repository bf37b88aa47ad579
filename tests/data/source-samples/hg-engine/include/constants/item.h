#ifndef CONSTANTS_ITEM_H
#define CONSTANTS_ITEM_H

#include "../config.h"

#define ITEM_NONE                         0
#define ITEM_THUNDER_STONE                83
#define ITEM_WATER_STONE                  84
#define ITEM_LEAF_STONE                   85
#define ITEM_DAWN_STONE                   109
#define ITEM_ICE_STONE                    849 // new in the engine

#endif
