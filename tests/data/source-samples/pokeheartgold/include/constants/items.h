#ifndef SAMPLE_CONSTANTS_ITEMS_H
#define SAMPLE_CONSTANTS_ITEMS_H

#define ITEM_NONE            0
#define ITEM_MOON_STONE     81
#define ITEM_FIRE_STONE     82
#define ITEM_THUNDERSTONE   83
#define ITEM_WATER_STONE    84
#define ITEM_LEAF_STONE     85
#define ITEM_KINGS_ROCK    221

// A second name for a stone: the evolution file uses this one, so a written file does too.
#define ITEM_THUNDER_STONE  ITEM_THUNDERSTONE

#endif
