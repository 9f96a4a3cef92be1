// A keyed collection: entries kept in the order they were added, each reachable
// by its position (from 0) and, when it was added with one, by its key. Keys
// compare without regard to case; a key can be used only once.
#pragma once

#include <cctype>
#include <cstddef>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace vtl {

template <typename T>
class Collection {
  public:
    // Appends `item` under `key` (none when empty). Returns false and adds
    // nothing when the key is already in use.
    bool Add(T item, std::string key = {}) {
        if (!key.empty() && find(key).has_value())
            return false;
        entries_.push_back({std::move(key), std::move(item)});
        return true;
    }

    std::size_t Count() const { return entries_.size(); }

    // The entry at `index` (0 = first added); throws std::out_of_range beyond the end.
    const T& Item(std::size_t index) const { return entries_.at(index).item; }
    T& Item(std::size_t index) { return entries_.at(index).item; }

    // The entry added under `key`, or nullptr.
    const T* Item(const std::string& key) const {
        auto at = find(key);
        return at ? &entries_[*at].item : nullptr;
    }
    T* Item(const std::string& key) {
        auto at = find(key);
        return at ? &entries_[*at].item : nullptr;
    }

    // The key an entry was added under (empty when none).
    const std::string& Key(std::size_t index) const { return entries_.at(index).key; }

    void Clear() { entries_.clear(); }

  private:
    struct Entry {
        std::string key;
        T item;
    };

    std::optional<std::size_t> find(const std::string& key) const {
        if (key.empty())
            return std::nullopt;
        for (std::size_t i = 0; i < entries_.size(); ++i) {
            if (sameKey(entries_[i].key, key))
                return i;
        }
        return std::nullopt;
    }

    static bool sameKey(const std::string& a, const std::string& b) {
        if (a.size() != b.size())
            return false;
        for (std::size_t i = 0; i < a.size(); ++i) {
            if (std::tolower(static_cast<unsigned char>(a[i])) !=
                std::tolower(static_cast<unsigned char>(b[i])))
                return false;
        }
        return true;
    }

    std::vector<Entry> entries_;
};

}  // namespace vtl
