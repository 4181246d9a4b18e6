#include "runtime/data_module.h"

std::function<void(TComponent* sender)> ApplicationHandleException;

TDataModule::TDataModule(TComponent* owner) : TComponent(owner) {}

void TDataModule::AfterConstruction() {
    if (!OnCreate)
        return;
    try {
        OnCreate(this);
    } catch (...) {
        if (!ApplicationHandleException)
            throw;
        ApplicationHandleException(this);
    }
}
