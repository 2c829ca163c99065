// TListWalk: a walk over a list of objects that calls out (to handlers that
// may add objects to the list, take some away or free them). The walk goes
// over a copy of the list taken at its start; the list's owner tells every
// walk in progress when an object leaves (Forget), and the walk skips it, so
// an object that has left (or been freed, or a new one at a freed one's
// address) is never reached. Objects added meanwhile are not visited.
//
//   TListWalk<TComponent> walk(components_, walks_);   // walks_: the owner's
//   for (TComponent* c : walk) c->Notification(...);   // skips the ones gone
//   ... and where an object leaves the list: TListWalk<TComponent>::Forget(walks_, c);
#pragma once

#include <algorithm>
#include <utility>
#include <vector>

namespace fw {

template <class T>
class TListWalk {
 public:
  // `top` is the owner's innermost walk in progress; walks nest as the
  // calls do, and end in the reverse order of their start.
  TListWalk(std::vector<T*> items, TListWalk*& top)
      : items_(std::move(items)), top_(top), outer_(top) {
    top_ = this;
  }
  ~TListWalk() { top_ = outer_; }
  TListWalk(const TListWalk&) = delete;
  TListWalk& operator=(const TListWalk&) = delete;

  // Marks `item` gone in every walk in progress, from `top` outwards.
  static void Forget(TListWalk* top, const T* item) {
    for (TListWalk* w = top; w != nullptr; w = w->outer_) {
      std::replace(w->items_.begin(), w->items_.end(), const_cast<T*>(item),
                   static_cast<T*>(nullptr));
    }
  }

  // Iterates over the objects still there when their turn comes.
  class TIterator {
   public:
    TIterator(const std::vector<T*>& items, size_t i) : items_(items), i_(i) { Skip(); }
    T* operator*() const { return items_[i_]; }
    TIterator& operator++() {
      ++i_;
      Skip();
      return *this;
    }
    bool operator!=(const TIterator& other) const { return i_ != other.i_; }

   private:
    void Skip() {
      while (i_ < items_.size() && items_[i_] == nullptr)
        ++i_;
    }
    const std::vector<T*>& items_;
    size_t i_;
  };
  TIterator begin() const { return TIterator(items_, 0); }
  TIterator end() const { return TIterator(items_, items_.size()); }
  // Whether `item` is still there (not forgotten) in this walk.
  bool Has(const T* item) const {
    return item != nullptr && std::find(items_.begin(), items_.end(), item) != items_.end();
  }

 private:
  std::vector<T*> items_;
  TListWalk*& top_;
  TListWalk* outer_;
};

}  // namespace fw
