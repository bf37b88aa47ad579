#ifndef CONSTANTS_MOVES_H
#define CONSTANTS_MOVES_H

#define MOVE_NONE 0
#define MOVE_ROLLOUT 205

#endif
