#ifndef CONSTANTS_SPECIES_H
#define CONSTANTS_SPECIES_H

// A handful of species in the engine's numbering (the later generations from 544, the forms after
// the last species), for the tests; a species not named here is written as its number.

#define SPECIES_NONE 0
#define SPECIES_BULBASAUR 1
#define SPECIES_IVYSAUR 2
#define SPECIES_NIDORAN_M 32
#define SPECIES_EEVEE 133
#define SPECIES_VAPOREON 134
#define SPECIES_JOLTEON 135
#define SPECIES_LEAFEON 470
#define SPECIES_GLACEON 471
#define SPECIES_PANCHAM 724
#define SPECIES_PANGORO 725
#define SPECIES_SYLVEON 750
#define SPECIES_ROCKRUFF 794
#define SPECIES_LYCANROC 795

#define MAX_MON_NUM 1075

/* forms: one record each, after the last species */
#define SPECIES_MEGA_START (MAX_MON_NUM+1)

#define SPECIES_MEGA_VENUSAUR (SPECIES_MEGA_START)

#define MAX_SPECIES_INCLUDING_FORMS (SPECIES_MEGA_START + 3)

#define MON_WITH_FORM(species, form) ((species) | ((form) << 11))

#endif
