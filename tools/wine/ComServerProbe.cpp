// A Wine prefix's readiness probe, built and run by tools/wine-common.sh (not part of
// Tarnwick.exe): creates the COM object named by a class and an interface identifier, as an
// out-of-process (local) server, and exits 0 if that succeeds. Prints the HRESULT either way.
// Right after a prefix boots, local servers such as BITS answer E_NOINTERFACE (0x80004002)
// for some seconds; the settle step polls this until they answer.
//
// Usage: ComServerProbe.exe {CLSID} {IID}

#include <objbase.h>

#include <cstdio>

int wmain(int argc, wchar_t** argv)
{
    if (argc != 3) {
        std::fputs("usage: ComServerProbe.exe {CLSID} {IID}\n", stderr);
        return 2;
    }
    CLSID classId;
    IID interfaceId;
    if (FAILED(CLSIDFromString(argv[1], &classId)) || FAILED(IIDFromString(argv[2], &interfaceId))) {
        std::fputs("ComServerProbe: not a GUID\n", stderr);
        return 2;
    }
    if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {
        std::fputs("ComServerProbe: CoInitializeEx failed\n", stderr);
        return 1;
    }
    IUnknown* object = nullptr;
    const HRESULT result = CoCreateInstance(classId, nullptr, CLSCTX_LOCAL_SERVER, interfaceId,
                                            reinterpret_cast<void**>(&object));
    std::printf("0x%08lx\n", static_cast<unsigned long>(result));
    if (object != nullptr) {
        object->Release();
    }
    CoUninitialize();
    return SUCCEEDED(result) ? 0 : 1;
}
