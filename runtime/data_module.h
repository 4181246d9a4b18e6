// A non-visual container of components whose creation handler runs once it is fully
// constructed; what escapes the handler goes to the application's exception handler.
#pragma once
#include "runtime/component.h"
#include <functional>
#include <type_traits>

using TNotifyEvent = std::function<void(TComponent* sender)>;

// Set by the application object while it exists: the component layer hands exceptions of
// creation handlers to it.
extern std::function<void(TComponent* sender)> ApplicationHandleException;

class TDataModule : public TComponent {
  public:
    explicit TDataModule(TComponent* owner);

    // The creation step: runs OnCreate with this module as sender. An exception leaving the
    // handler goes to ApplicationHandleException, or travels on when there is none.
    void AfterConstruction();

    TNotifyEvent OnCreate;
};

// Constructs a T owned by owner, stores it in variable, then runs its creation step. When the
// creation step raises, the module is deleted, variable is cleared and the exception travels on.
template <class T> T* CreateDataModule(TComponent* owner, T*& variable) {
    static_assert(std::is_base_of_v<TDataModule, T>);
    T* instance = new T(owner);
    variable = instance;
    try {
        instance->AfterConstruction();
    } catch (...) {
        variable = nullptr;
        delete instance;
        throw;
    }
    return instance;
}
