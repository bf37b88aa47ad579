#ifndef CONSTANTS_POKEMON_H
#define CONSTANTS_POKEMON_H

#define TYPE_NORMAL   0
#define TYPE_FIGHTING 1
#define TYPE_FAIRY    9 // where the games keep the unused type
#define TYPE_MYSTERY  TYPE_FAIRY

#endif
