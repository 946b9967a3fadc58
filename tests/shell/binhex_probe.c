/* Stands in for the binhex tool: appends the arguments it was given to the
 * file named by TAMZEL_PROBE_LOG, as "<count>\n" then "<length>:<bytes>"
 * for each, so a test can see exactly what reached the tool. */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

int main(int argc, char** argv) {
    const char* log = getenv("TAMZEL_PROBE_LOG");
    FILE* out = log ? fopen(log, "ab") : NULL;
    if (!out)
        return 3;
    fprintf(out, "%d\n", argc - 1);
    for (int i = 1; i < argc; ++i) {
        size_t n = strlen(argv[i]);
        fprintf(out, "%zu:", n);
        fwrite(argv[i], 1, n, out);
    }
    return fclose(out) == 0 ? 0 : 3;
}
