#pragma once

#include <string>
#include <vector>

// One field of a record item.
struct RecordField {
    std::string name;
    std::string value;

    bool operator==(const RecordField& other) const { return name == other.name && value == other.value; }
};

// One copied file, created folder, registry item or shell object of the install record: a
// map from field name to text. Names are compared case-sensitively. An item holds a handful
// of fields, so they are kept in a small list in the order they were first set.
class RecordItem {
public:
    // The value and true, or an empty text and false when the field is absent.
    [[nodiscard]] bool GetField(const std::string& name, std::string& value) const;
    // The value, empty when the field is absent.
    [[nodiscard]] std::string Field(const std::string& name) const;
    [[nodiscard]] bool HasField(const std::string& name) const;
    // Adds the field, or replaces the value of the field of that name.
    void SetField(const std::string& name, const std::string& value);
    void SetField(const std::string& name, std::string&& value);
    // Stores n written with "%d".
    void SetIntField(const std::string& name, int value);

    [[nodiscard]] const std::vector<RecordField>& Fields() const { return m_fields; }
    [[nodiscard]] bool IsEmpty() const { return m_fields.empty(); }

    bool operator==(const RecordItem& other) const;
    bool operator!=(const RecordItem& other) const { return !(*this == other); }

private:
    [[nodiscard]] const RecordField* Find(const std::string& name) const;

    std::vector<RecordField> m_fields;
};
