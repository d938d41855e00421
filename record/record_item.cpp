#include "record/record_item.h"

#include "record/decimal_text.h"

#include <algorithm>

const RecordField* RecordItem::Find(const std::string& name) const
{
    for (const auto& field : m_fields) {
        if (field.name == name)
            return &field;
    }
    return nullptr;
}

bool RecordItem::GetField(const std::string& name, std::string& value) const
{
    const RecordField* field = Find(name);
    if (!field) {
        value.clear();
        return false;
    }
    value = field->value;
    return true;
}

std::string RecordItem::Field(const std::string& name) const
{
    const RecordField* field = Find(name);
    return field ? field->value : std::string();
}

bool RecordItem::HasField(const std::string& name) const { return Find(name) != nullptr; }

void RecordItem::SetField(const std::string& name, const std::string& value) { SetField(name, std::string(value)); }

void RecordItem::SetField(const std::string& name, std::string&& value)
{
    for (auto& field : m_fields) {
        if (field.name == name) {
            field.value = std::move(value);
            return;
        }
    }
    m_fields.push_back({name, std::move(value)});
}

void RecordItem::SetIntField(const std::string& name, int value) { SetField(name, FormatDecimal(value)); }

// Two items are equal when they hold the same fields, whatever order they were set in.
bool RecordItem::operator==(const RecordItem& other) const
{
    if (m_fields.size() != other.m_fields.size())
        return false;
    return std::all_of(m_fields.begin(), m_fields.end(), [&other](const RecordField& field) {
        const RecordField* match = other.Find(field.name);
        return match && match->value == field.value;
    });
}
