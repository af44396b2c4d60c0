/*
 * The switch rules over any arguments. Whatever comes in, every value stays
 * a text inside its buffer; a line is invalid only when it names a switch
 * of the program or asks for a quiet run; a port read is one the port rule
 * reads back the same; and a valid line, written again in the plain form of
 * each switch, reads back to the very same values.
 */
#include "fuzz_support.h"
#include "port_text.h"
#include "switch_rules.h"

#define MAX_ARGUMENTS 16

static void CheckTexts(const SwitchValues &values)
{
    CHECK(BoundedLength(values.model, TEXT_SIZE) < TEXT_SIZE);
    CHECK(BoundedLength(values.port, TEXT_SIZE) < TEXT_SIZE);
    CHECK(BoundedLength(values.logPath, TEXT_SIZE) < TEXT_SIZE);
    CHECK(BoundedLength(values.fault, TEXT_SIZE) < TEXT_SIZE);
    CHECK(BoundedLength(values.unknown, TEXT_SIZE) < TEXT_SIZE);
}

static void CheckPort(const SwitchValues &values)
{
    char again[TEXT_SIZE];

    if (!values.port[0]) return;
    CHECK(values.portKind == PORT_NAME_SERIAL || values.portKind == PORT_NAME_USB);
    CHECK(ReadPortName(values.port, again, sizeof again) == values.portKind);
    CHECK(!strcmp(again, values.port));
}

/* The plain form of what was read. */
static void ReadAgain(const SwitchValues &values, SwitchValues *again)
{
    char argument[TEXT_SIZE + 16];

    StartSwitches(values.program, again);
    if (values.quiet) ReadArgument(again, "/quiet", 1);
    if (values.help) ReadArgument(again, "/?", 1);
    if (values.makeDefault) ReadArgument(again, "/default", 1);
    if (values.restart == RESTART_NEVER) ReadArgument(again, "/norestart", 1);
    if (values.restart == RESTART_FORCED) ReadArgument(again, "/forcerestart", 1);
    if (values.model[0]) {
        snprintf(argument, sizeof argument, "/model:%s", values.model);
        ReadArgument(again, argument, 1);
    }
    if (values.port[0]) {
        snprintf(argument, sizeof argument, "/port:%s", values.port);
        ReadArgument(again, argument, 1);
    }
    if (values.logPath[0]) {
        snprintf(argument, sizeof argument, "/log:%s", values.logPath);
        ReadArgument(again, argument, 1);
    }
    EndSwitches(again);
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    SwitchValues values, again;
    int program = size && (data[0] & 1) ? PROGRAM_REMOVE : PROGRAM_SETUP;
    int exactBits = size > 1 ? data[1] : 0xff;

    data += size > 2 ? 2 : size;
    size -= size > 2 ? 2 : size;
    StartSwitches(program, &values);
    for (int i = 0; i < MAX_ARGUMENTS && size; i++) {
        char *argument = NextPart(&data, &size);
        ReadArgument(&values, argument, (exactBits >> (i % 8)) & 1);
        free(argument);
    }
    EndSwitches(&values);

    CheckTexts(values);
    CheckPort(values);
    CHECK(values.restart >= RESTART_LEFT_TO_CALLER && values.restart <= RESTART_FORCED);
    if (!values.known && !values.quiet) CHECK(!values.fault[0]);
    if (program == PROGRAM_REMOVE) CHECK(!values.model[0] && !values.port[0] && !values.makeDefault);
    if (values.fault[0]) return 0;
    if (program == PROGRAM_SETUP && values.quiet && !values.help) CHECK(values.port[0]);

    ReadAgain(values, &again);
    CHECK(!again.fault[0]);
    CHECK(again.quiet == values.quiet && again.help == values.help && again.makeDefault == values.makeDefault);
    CHECK(again.restart == values.restart && again.portKind == values.portKind);
    CHECK(!strcmp(again.model, values.model) && !strcmp(again.port, values.port));
    CHECK(!strcmp(again.logPath, values.logPath));
    return 0;
}
