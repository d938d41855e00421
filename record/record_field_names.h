#pragma once

// Field names of the record's items and the sections they live in. Names are
// case-sensitive, in the file and in RecordItem alike.
namespace RecordFieldName {
// CopyFile
inline constexpr char FileName[] = "FileName";
inline constexpr char RegType[] = "RegType";
inline constexpr char ServiceName[] = "ServiceName";
inline constexpr char ServiceID[] = "ServiceID";
inline constexpr char Uninstall[] = "Uninstall";
inline constexpr char FileGroup[] = "FileGroup";
inline constexpr char ModifyDate[] = "ModifyDate";
inline constexpr char UpdateType[] = "UpdateType";
// CreateDir
inline constexpr char DirName[] = "DirName";
// RegItem ("Type,Root,Path,Name", then the value's own lines) and ShellObj ("Type,Path")
inline constexpr char Type[] = "Type";
inline constexpr char Root[] = "Root";
inline constexpr char Path[] = "Path";
inline constexpr char Name[] = "Name";
inline constexpr char DataType[] = "DataType";
inline constexpr char Data[] = "Data";
}

// Values of the Type fields.
namespace RecordTypeName {
inline constexpr char Key[] = "Key";     // a registry key, removed with its subtree
inline constexpr char Value[] = "Value"; // a registry value
inline constexpr char Group[] = "Group";
inline constexpr char Shortcut[] = "Shortcut";
}
