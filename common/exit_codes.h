/*
 * The exit codes of a run with switches: the Windows Installer's, which the
 * tools that roll software out to many machines know. A wizard run always
 * ends with 0.
 */
#ifndef EXIT_CODES_H
#define EXIT_CODES_H

#define EXIT_CODE_SUCCESS               0    /* ERROR_SUCCESS */
#define EXIT_CODE_RESTART_REQUIRED      3010 /* ERROR_SUCCESS_REBOOT_REQUIRED */
#define EXIT_CODE_RESTART_INITIATED     1641 /* ERROR_SUCCESS_REBOOT_INITIATED */
#define EXIT_CODE_STEP_FAILED           1603 /* ERROR_INSTALL_FAILURE: the log names the step */
#define EXIT_CODE_PACKAGE_UNREADABLE    1619 /* ERROR_INSTALL_PACKAGE_OPEN_FAILED */
#define EXIT_CODE_INVALID_COMMAND_LINE  1639 /* ERROR_INVALID_COMMAND_LINE */

#endif
