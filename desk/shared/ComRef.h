#pragma once
// COM for the length of one call: an interface reference that lets go at scope end, and the
// apartment, given back as found so that the thread stays free to choose its own afterwards.
// Declare the scope before the references: they are released first.
#include <objbase.h>

template <class T>
struct Ref {
  T* p = nullptr;
  ~Ref() {
    if (p) p->Release();
  }
  T* operator->() const { return p; }
  T** operator&() { return &p; }
};

struct ComScope {
  HRESULT init = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  ~ComScope() {
    if (SUCCEEDED(init)) CoUninitialize();
  }
};
