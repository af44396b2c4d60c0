#ifndef SHUTDOWN_H
#define SHUTDOWN_H

/* 1 when SeShutdownPrivilege is enabled in the process token. */
int EnableShutdownPrivilege(void);

#endif
