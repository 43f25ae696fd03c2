#pragma once
// lstFileProject: the list of component names the user selects from. Rows are numbered from 0.

#include <cstdint>
#include <string>
#include <vector>

namespace vex::engine {

class FileList {
public:
    virtual ~FileList() = default;
    virtual int16_t ListCount() const = 0;
    /// The row's text (a component name, as the module's bytes).
    virtual std::string List(int16_t row) const = 0;
    virtual bool Selected(int16_t row) const = 0;
    virtual void SetSelected(int16_t row, bool selected) = 0;
    virtual int16_t ListIndex() const = 0;
    /// Makes `row` the current row (-1: none).
    virtual void SetListIndex(int16_t row) = 0;
    virtual void Clear() = 0;
    virtual void AddItem(const std::string& text) = 0;
};

/// A list held in memory: the CLI's and the tests' list.
class PlainFileList : public FileList {
public:
    struct Row {
        std::string text;
        bool selected = false;
    };

    int16_t ListCount() const override { return static_cast<int16_t>(rows_.size()); }
    std::string List(int16_t row) const override { return rows_.at(static_cast<size_t>(row)).text; }
    bool Selected(int16_t row) const override { return rows_.at(static_cast<size_t>(row)).selected; }
    void SetSelected(int16_t row, bool selected) override { rows_.at(static_cast<size_t>(row)).selected = selected; }
    int16_t ListIndex() const override { return index_; }
    void SetListIndex(int16_t row) override { index_ = row; }
    void Clear() override {
        rows_.clear();
        index_ = -1;
    }
    void AddItem(const std::string& text) override { rows_.push_back({text, false}); }

    const std::vector<Row>& Rows() const { return rows_; }

private:
    std::vector<Row> rows_;
    int16_t index_ = -1;
};

}  // namespace vex::engine
