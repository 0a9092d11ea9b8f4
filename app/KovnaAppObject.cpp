// kovna.exe's one application object; the tests make their own.
#include "app/KovnaApp.h"

namespace {

CKovnaApp theApp;

} // namespace
