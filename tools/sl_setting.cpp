// Gives one setting of the program a value when it has none yet, in "ziviz.dat" of the
// given data folder.  The run command uses it to name the private PDF queue as the
// printer on a fresh machine; a printer the user chose is left alone.
// Usage: sl_setting <folder> <key> <value>
#include <cstdio>

#include "app/base/KeyStore.h"

int main(int argc, char** argv)
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: sl_setting <folder> <key> <value>\n");
        return 2;
    }
    CoInitialize(nullptr);
    CKeyStore store;
    store.SetValue("root", argv[1]);
    store.Load("ziviz.dat");            // a missing file leaves the store with "root" only
    store.SetValue("root", argv[1]);
    int rc = 0;
    if (store.GetValue(argv[2]).IsEmpty()) {
        store.SetValue(argv[2], argv[3]);
        rc = store.Save("ziviz.dat") ? 0 : 1;
    }
    CoUninitialize();
    return rc;
}
