#ifndef STACK_GUARD_H
#define STACK_GUARD_H

/* Gives the stack protector its guard before the runtime's start-up code
   would, without loading a library. */
void SeedStackGuard(void);

#endif
