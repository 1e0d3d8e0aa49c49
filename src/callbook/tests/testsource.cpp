/* A callbook source library for the tests: the entry points of the Flying Horse
   and QRZ sources over a tiny built-in table. It answers for QX1AB only; the data
   path must hold the file "fh.db". The calls made are counted, and the last path
   and call received are kept, so the tests see what was handed over. */
#include <stdint.h>
#include <stdio.h>
#include <string.h>

extern "C" {

static int calls;
static int exits;
static char lastPath[300];
static char lastCall[300];

static void keep(const char *path, const char *call)
{
    snprintf(lastPath, sizeof lastPath, "%s", path);
    snprintf(lastCall, sizeof lastCall, "%s", call);
}

static int hasData(const char *path)
{
    char name[400];
    snprintf(name, sizeof name, "%sfh.db", path);
    FILE *f = fopen(name, "rb");
    if (!f)
        return 0;
    fclose(f);
    return 1;
}

int TestCallCount(void) { return calls; }
int TestExitCount(void) { return exits; }
const char *TestLastPath(void) { return lastPath; }
const char *TestLastCall(void) { return lastCall; }

int rCheckDatabaseFormat(const char *path, int16_t *status, int16_t *error)
{
    *status = hasData(path) ? 0 : 1;
    *error = 0;
    return 0;
}

int rGetCallInfo(const char *path, const char *call, char *buffer, int16_t *error)
{
    ++calls;
    keep(path, call);
    if (strcmp(call, "QX1AB") != 0) {
        *error = 1101;
        return 0;
    }
    /* tag 1 name, tag 2 street and town with a pending rest, tag 5 postal code,
       tag 6 state, tag 13 county, tag 18 the manager record */
    static const char answer[] = "\001Ann Example\002Main Street 1, Flat 2, Springfield\00512345\006XS"
                                 "\015Greene\02201";
    memcpy(buffer, answer, sizeof answer);
    *error = 0;
    return 0;
}

int rGetVersionNr(int16_t *version)
{
    *version = 9;
    return 0;
}

int QRZInit(const char *path) { return hasData(path) ? 1 : 0; }

int QRZSearch(int kind, const char *call, const char *call2, const char *call3, char *buffer, int format)
{
    (void)call2;
    (void)call3;
    ++calls;
    keep("", call);
    if (kind != 1 || format != 2 || strcmp(call, "QX1AB") != 0)
        return 0;
    static const char answer[] = "QX1AB\r\nAnn Example\r\nQX1AB QSL via QX9MGR/3, thanks\rSpringfield";
    memcpy(buffer, answer, sizeof answer - 1);
    return (int)(sizeof answer - 1);
}

int QRZExit(void)
{
    ++exits;
    return 0;
}

} // extern "C"
