// A named object that can own others: an owner deletes the components it owns, the last
// added first, when it is deleted itself.
#pragma once
#include <string>
#include <vector>

class TComponent {
  public:
    explicit TComponent(TComponent* owner);
    virtual ~TComponent();
    TComponent(const TComponent&) = delete;
    TComponent& operator=(const TComponent&) = delete;

    const std::string& Name() const { return name_; }
    void SetName(std::string name) { name_ = std::move(name); }
    TComponent* Owner() const { return owner_; }
    int ComponentCount() const { return int(components_.size()); }
    TComponent* Components(int index) const { return components_.at(size_t(index)); }
    // Deletes every owned component, the last added first.
    void DestroyComponents();

  private:
    void Remove(TComponent* component);

    std::string name_;
    TComponent* owner_;
    std::vector<TComponent*> components_;
};
