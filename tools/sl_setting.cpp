// Reads or sets one setting of the program in "ziviz.dat" of the given data folder.
// With a value it gives the setting that value when it has none yet: the run command uses it
// to name the private PDF queue as the printer on a fresh machine; a printer the user chose
// is left alone.  Without a value it prints the stored value (the scripts compare what the
// two targets read).
// Usage: sl_setting <folder> <key> [<value>]
#include <cstdio>

#include "base/ComOwner.h"
#include "base/KeyStore.h"

int main(int argc, char** argv)
{
    if (argc != 3 && argc != 4) {
        std::fprintf(stderr, "usage: sl_setting <folder> <key> [<value>]\n");
        return 2;
    }
    const ComScope com = EnsureCom();
    CKeyStore store;
    store.SetValue("root", argv[1]);
    store.Load("ziviz.dat"); // a missing file leaves the store with "root" only
    int rc = 0;
    if (argc == 3) {
        std::printf("%s\n", (LPCTSTR)store.GetValue(argv[2]));
    } else {
        store.SetValue("root", argv[1]);
        if (store.GetValue(argv[2]).IsEmpty()) {
            store.SetValue(argv[2], argv[3]);
            rc = store.Save("ziviz.dat") ? 0 : 1;
        }
    }
    return rc;
}
