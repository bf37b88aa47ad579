#include "../include/types.h"
#include "../include/pokemon.h"
#include "../include/battle.h"
#include "../include/constants/item.h"
#include "../include/constants/moves.h"
#include "../include/constants/species.h"

typedef struct EvolutionTable {
    struct Evolution entries[MAX_EVOS_PER_POKE];
    u16 terminator;
} EvolutionTable;

u32 __size = sizeof(EvolutionTable);

const EvolutionTable __data[MAX_SPECIES_INCLUDING_FORMS + 1] =
{
    [SPECIES_NONE] = {
        .entries = {
            { EVO_NONE, 0, SPECIES_NONE },
            { EVO_NONE, 0, SPECIES_NONE },
            { EVO_NONE, 0, SPECIES_NONE },
            { EVO_NONE, 0, SPECIES_NONE },
            { EVO_NONE, 0, SPECIES_NONE },
            { EVO_NONE, 0, SPECIES_NONE },
            { EVO_NONE, 0, SPECIES_NONE },
            { EVO_NONE, 0, SPECIES_NONE },
            { EVO_NONE, 0, SPECIES_NONE },
        },
    },

    [SPECIES_BULBASAUR] = {
        .entries = {
            { EVO_LEVEL, 16, SPECIES_IVYSAUR },
            { EVO_NONE, 0, SPECIES_NONE },
            { EVO_NONE, 0, SPECIES_NONE },
            { EVO_NONE, 0, SPECIES_NONE },
            { EVO_NONE, 0, SPECIES_NONE },
            { EVO_NONE, 0, SPECIES_NONE },
            { EVO_NONE, 0, SPECIES_NONE },
            { EVO_NONE, 0, SPECIES_NONE },
            { EVO_NONE, 0, SPECIES_NONE },
        },
    },

    [SPECIES_IVYSAUR] = {
        .entries = {
            { EVO_NONE, 0, SPECIES_NONE },
            { EVO_NONE, 0, SPECIES_NONE },
            { EVO_NONE, 0, SPECIES_NONE },
            { EVO_NONE, 0, SPECIES_NONE },
            { EVO_NONE, 0, SPECIES_NONE },
            { EVO_NONE, 0, SPECIES_NONE },
            { EVO_NONE, 0, SPECIES_NONE },
            { EVO_NONE, 0, SPECIES_NONE },
            { EVO_NONE, 0, SPECIES_NONE },
        },
    },

    [SPECIES_NIDORAN_M] = {
        .entries = {
            { EVO_NONE, 0, SPECIES_NONE },
            { EVO_NONE, 0, SPECIES_NONE },
            { EVO_NONE, 0, SPECIES_NONE },
            { EVO_NONE, 0, SPECIES_NONE },
            { EVO_NONE, 0, SPECIES_NONE },
            { EVO_NONE, 0, SPECIES_NONE },
            { EVO_NONE, 0, SPECIES_NONE },
            { EVO_NONE, 0, SPECIES_NONE },
            { EVO_NONE, 0, SPECIES_NONE },
        },
    },

    [SPECIES_EEVEE] = {
        .entries = {
            { EVO_STONE, ITEM_WATER_STONE, SPECIES_VAPOREON },
            { EVO_STONE, ITEM_THUNDER_STONE, SPECIES_JOLTEON },
            { EVO_STONE, ITEM_LEAF_STONE, SPECIES_LEAFEON },
            { EVO_STONE, ITEM_ICE_STONE, SPECIES_GLACEON },
            { EVO_HAS_MOVE_TYPE, TYPE_FAIRY, SPECIES_SYLVEON },
            { EVO_NONE, 0, SPECIES_NONE },
            { EVO_NONE, 0, SPECIES_NONE },
            { EVO_NONE, 0, SPECIES_NONE },
            { EVO_NONE, 0, SPECIES_NONE },
        },
    },

    [SPECIES_VAPOREON] = {
        .entries = {
            { EVO_NONE, 0, SPECIES_NONE },
            { EVO_NONE, 0, SPECIES_NONE },
            { EVO_NONE, 0, SPECIES_NONE },
            { EVO_NONE, 0, SPECIES_NONE },
            { EVO_NONE, 0, SPECIES_NONE },
            { EVO_NONE, 0, SPECIES_NONE },
            { EVO_NONE, 0, SPECIES_NONE },
            { EVO_NONE, 0, SPECIES_NONE },
            { EVO_NONE, 0, SPECIES_NONE },
        },
    },

    [SPECIES_JOLTEON] = {
        .entries = {
            { EVO_NONE, 0, SPECIES_NONE },
            { EVO_NONE, 0, SPECIES_NONE },
            { EVO_NONE, 0, SPECIES_NONE },
            { EVO_NONE, 0, SPECIES_NONE },
            { EVO_NONE, 0, SPECIES_NONE },
            { EVO_NONE, 0, SPECIES_NONE },
            { EVO_NONE, 0, SPECIES_NONE },
            { EVO_NONE, 0, SPECIES_NONE },
            { EVO_NONE, 0, SPECIES_NONE },
        },
    },

    [SPECIES_LEAFEON] = {
        .entries = {
            { EVO_NONE, 0, SPECIES_NONE },
            { EVO_NONE, 0, SPECIES_NONE },
            { EVO_NONE, 0, SPECIES_NONE },
            { EVO_NONE, 0, SPECIES_NONE },
            { EVO_NONE, 0, SPECIES_NONE },
            { EVO_NONE, 0, SPECIES_NONE },
            { EVO_NONE, 0, SPECIES_NONE },
            { EVO_NONE, 0, SPECIES_NONE },
            { EVO_NONE, 0, SPECIES_NONE },
        },
    },

    [SPECIES_GLACEON] = {
        .entries = {
            { EVO_NONE, 0, SPECIES_NONE },
            { EVO_NONE, 0, SPECIES_NONE },
            { EVO_NONE, 0, SPECIES_NONE },
            { EVO_NONE, 0, SPECIES_NONE },
            { EVO_NONE, 0, SPECIES_NONE },
            { EVO_NONE, 0, SPECIES_NONE },
            { EVO_NONE, 0, SPECIES_NONE },
            { EVO_NONE, 0, SPECIES_NONE },
            { EVO_NONE, 0, SPECIES_NONE },
        },
    },

    [SPECIES_PANCHAM] = {
        .entries = {
            { EVO_LEVEL_DARK_TYPE_MON_IN_PARTY, 32, SPECIES_PANGORO },
            { EVO_NONE, 0, SPECIES_NONE },
            { EVO_NONE, 0, SPECIES_NONE },
            { EVO_NONE, 0, SPECIES_NONE },
            { EVO_NONE, 0, SPECIES_NONE },
            { EVO_NONE, 0, SPECIES_NONE },
            { EVO_NONE, 0, SPECIES_NONE },
            { EVO_NONE, 0, SPECIES_NONE },
            { EVO_NONE, 0, SPECIES_NONE },
        },
    },

    [SPECIES_PANGORO] = {
        .entries = {
            { EVO_NONE, 0, SPECIES_NONE },
            { EVO_NONE, 0, SPECIES_NONE },
            { EVO_NONE, 0, SPECIES_NONE },
            { EVO_NONE, 0, SPECIES_NONE },
            { EVO_NONE, 0, SPECIES_NONE },
            { EVO_NONE, 0, SPECIES_NONE },
            { EVO_NONE, 0, SPECIES_NONE },
            { EVO_NONE, 0, SPECIES_NONE },
            { EVO_NONE, 0, SPECIES_NONE },
        },
    },

    [SPECIES_SYLVEON] = {
        .entries = {
            { EVO_NONE, 0, SPECIES_NONE },
            { EVO_NONE, 0, SPECIES_NONE },
            { EVO_NONE, 0, SPECIES_NONE },
            { EVO_NONE, 0, SPECIES_NONE },
            { EVO_NONE, 0, SPECIES_NONE },
            { EVO_NONE, 0, SPECIES_NONE },
            { EVO_NONE, 0, SPECIES_NONE },
            { EVO_NONE, 0, SPECIES_NONE },
            { EVO_NONE, 0, SPECIES_NONE },
        },
    },

    [SPECIES_ROCKRUFF] = {
        .entries = {
            { EVO_LEVEL_DAY, 25, SPECIES_LYCANROC },
            { EVO_LEVEL_NIGHT, 25, MON_WITH_FORM(SPECIES_LYCANROC, 1) },
            { EVO_NONE, 0, SPECIES_NONE },
            { EVO_LEVEL_DUSK, 25, MON_WITH_FORM(SPECIES_LYCANROC, 2) },
            { EVO_NONE, 0, SPECIES_NONE },
            { EVO_NONE, 0, SPECIES_NONE },
            { EVO_NONE, 0, SPECIES_NONE },
            { EVO_NONE, 0, SPECIES_NONE },
            { EVO_NONE, 0, SPECIES_NONE },
        },
    },

    [SPECIES_LYCANROC] = {
        .entries = {
            { EVO_NONE, 0, SPECIES_NONE },
            { EVO_NONE, 0, SPECIES_NONE },
            { EVO_NONE, 0, SPECIES_NONE },
            { EVO_NONE, 0, SPECIES_NONE },
            { EVO_NONE, 0, SPECIES_NONE },
            { EVO_NONE, 0, SPECIES_NONE },
            { EVO_NONE, 0, SPECIES_NONE },
            { EVO_NONE, 0, SPECIES_NONE },
            { EVO_NONE, 0, SPECIES_NONE },
        },
    },

    [900] = {
        .entries = {
            { EVO_TRADE_SPECIFIC_MON, SPECIES_PANCHAM, 901 },
            { 45, 3, 902 },
            { EVO_NONE, 0, SPECIES_NONE },
            { EVO_NONE, 0, SPECIES_NONE },
            { EVO_NONE, 0, SPECIES_NONE },
            { EVO_NONE, 0, SPECIES_NONE },
            { EVO_NONE, 0, SPECIES_NONE },
            { EVO_NONE, 0, SPECIES_NONE },
            { EVO_NONE, 0, SPECIES_NONE },
        },
    },

    [SPECIES_MEGA_VENUSAUR] = {
        .entries = {
            { EVO_NONE, 0, SPECIES_NONE },
            { EVO_NONE, 0, SPECIES_NONE },
            { EVO_NONE, 0, SPECIES_NONE },
            { EVO_NONE, 0, SPECIES_NONE },
            { EVO_NONE, 0, SPECIES_NONE },
            { EVO_NONE, 0, SPECIES_NONE },
            { EVO_NONE, 0, SPECIES_NONE },
            { EVO_NONE, 0, SPECIES_NONE },
            { EVO_NONE, 0, SPECIES_NONE },
        },
    },

};
