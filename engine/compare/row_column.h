#pragma once
// The rows of one column, shared between results until one of them changes them: a copy
// costs no copying of rows, so a result made after an edit that moved no line keeps the rows
// of the result before it. Writing through a copy first gives it rows of its own. A result
// is written only while it is built, before any other thread can see it.
#include <cstddef>
#include <memory>
#include <vector>

namespace kl {

template <typename Row>
class SharedColumn {
public:
    SharedColumn() : rows_(std::make_shared<std::vector<Row>>()) {}
    SharedColumn(std::vector<Row> rows) : rows_(std::make_shared<std::vector<Row>>(std::move(rows))) {}
    SharedColumn& operator=(std::vector<Row> rows)
    {
        rows_ = std::make_shared<std::vector<Row>>(std::move(rows));
        return *this;
    }

    const std::vector<Row>& get() const { return *rows_; }
    operator const std::vector<Row>&() const { return *rows_; }
    // The rows to write, made this column's own first when another column shares them.
    std::vector<Row>& Edit()
    {
        if (rows_.use_count() > 1)
            rows_ = std::make_shared<std::vector<Row>>(*rows_);
        return *rows_;
    }
    // Both hold the same rows (not merely equal ones).
    bool SharesWith(const SharedColumn& other) const { return rows_ == other.rows_; }

    std::size_t size() const { return rows_->size(); }
    bool empty() const { return rows_->empty(); }
    const Row& operator[](std::size_t i) const { return (*rows_)[i]; }
    Row& operator[](std::size_t i) { return Edit()[i]; }
    const Row* data() const { return rows_->data(); }
    auto begin() const { return rows_->cbegin(); }
    auto end() const { return rows_->cend(); }
    const Row& back() const { return rows_->back(); }
    std::size_t capacity() const { return rows_->capacity(); }
    void push_back(const Row& row) { Edit().push_back(row); }
    void reserve(std::size_t n) { Edit().reserve(n); }
    void clear() { Edit().clear(); }

private:
    std::shared_ptr<std::vector<Row>> rows_;
};

}  // namespace kl
