#include "erase_walk.h"

#include "exit_codes.h"

int RunEraseWalk(int argc, char* argv[], int& index, const EraseActions& actions)
{
    SubOptionWalk walk(argc, argv, index);
    WalkStep step;
    while (walk.Next(step)) {
        const int result = step.name == "--all" ? actions.all(step.selector) : actions.sectors(step);
        if (result != OP_SUCCESS)
            return result;
    }
    return walk.Result();
}
