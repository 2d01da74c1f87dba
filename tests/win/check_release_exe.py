#!/usr/bin/python3
"""Reads a release varnolt.exe with pefile, a reader this project did not
write, and checks what Explorer and the loader take from its resources: the
version record says 1.00, the icon Explorer shows and the one named "SMALL"
both come in 16 x 16 and 32 x 32, and the manifest asks for the UTF-8 code
page and for awareness of the display's DPI (per monitor, version 2, where
Windows knows it, else the system's), and for nothing else. No function with
"Dpi" in its name is imported: those came with Windows 8.1 and 10, and an
import of one would keep the program from starting on older systems.

usage: check_release_exe.py EXE
"""
import sys
import xml.etree.ElementTree as ET

import pefile

RT_GROUP_ICON, RT_MANIFEST = 14, 24
SETTINGS = {
    "{http://schemas.microsoft.com/SMI/2019/WindowsSettings}activeCodePage": ["UTF-8"],
    "{http://schemas.microsoft.com/SMI/2005/WindowsSettings}dpiAware": ["true"],
    "{http://schemas.microsoft.com/SMI/2016/WindowsSettings}dpiAwareness": ["PerMonitorV2, System"],
}
MANIFEST_ELEMENTS = {
    "{urn:schemas-microsoft-com:asm.v1}assembly",
    "{urn:schemas-microsoft-com:asm.v3}application",
    "{urn:schemas-microsoft-com:asm.v3}windowsSettings",
} | set(SETTINGS)

problems = []


def resources(pe, type_id):
    if not hasattr(pe, "DIRECTORY_ENTRY_RESOURCE"):
        return []
    for entry in pe.DIRECTORY_ENTRY_RESOURCE.entries:
        if entry.id == type_id:
            return entry.directory.entries
    return []


def data_of(pe, entry):
    leaf = entry.directory.entries[0].data.struct
    return pe.get_data(leaf.OffsetToData, leaf.Size)


def check_version(pe):
    if not hasattr(pe, "VS_FIXEDFILEINFO"):
        problems.append("no version record")
        return
    fixed = pe.VS_FIXEDFILEINFO[0]
    if (fixed.FileVersionMS, fixed.FileVersionLS) != (0x10000, 0):
        problems.append(f"file version {fixed.FileVersionMS:#x}.{fixed.FileVersionLS:#x}, not 1.0.0.0")
    strings = {}
    for info in pe.FileInfo[0]:
        if info.Key == b"StringFileInfo":
            for table in info.StringTable:
                strings.update({k.decode(): v.decode() for k, v in table.entries.items()})
    wanted = {"ProductName": "Varnolt", "FileVersion": "1.00", "ProductVersion": "1.00"}
    for key, value in wanted.items():
        if strings.get(key) != value:
            problems.append(f"{key} is {strings.get(key)!r}, not {value!r}")
    for key in ("FileDescription", "LegalCopyright"):
        if not strings.get(key):
            problems.append(f"no {key}")


def icon_sizes(pe, group):
    """The sizes a group icon offers, read from its directory of images."""
    data = data_of(pe, group)
    count = int.from_bytes(data[4:6], "little")
    return {data[6 + 14 * i] for i in range(count)}


def check_icons(pe):
    groups = resources(pe, RT_GROUP_ICON)
    numbered = sorted((g for g in groups if g.name is None), key=lambda g: g.id)
    small = [g for g in groups if g.name is not None and str(g.name) == "SMALL"]
    if not numbered:
        problems.append("no numbered icon for Explorer")
    if not small:
        problems.append('no icon named "SMALL"')
    for group in numbered[:1] + small:
        sizes = icon_sizes(pe, group)
        if not {16, 32} <= sizes:
            problems.append(f"icon {group.name or group.id} has sizes {sorted(sizes)}, not 16 and 32")


def check_manifest(pe):
    manifests = resources(pe, RT_MANIFEST)
    if [m.id for m in manifests] != [1]:
        problems.append(f"manifests {[m.id for m in manifests]}, not the one with id 1")
        return
    root = ET.fromstring(data_of(pe, manifests[0]))
    tags = {element.tag for element in root.iter()}
    if tags != MANIFEST_ELEMENTS:
        problems.append(f"manifest elements {sorted(tags - MANIFEST_ELEMENTS)} beyond the code page and DPI, "
                        f"or missing {sorted(MANIFEST_ELEMENTS - tags)}")
    for tag, wanted in SETTINGS.items():
        if [e.text for e in root.iter(tag)] != wanted:
            problems.append(f"{tag} is {[e.text for e in root.iter(tag)]}, not {wanted}")


def check_imports(pe):
    for dll in getattr(pe, "DIRECTORY_ENTRY_IMPORT", []):
        problems.extend(f"imports {f.name.decode()}" for f in dll.imports if f.name and b"Dpi" in f.name)


def main():
    pe = pefile.PE(sys.argv[1])
    check_version(pe)
    check_icons(pe)
    check_manifest(pe)
    check_imports(pe)
    for p in problems:
        print("FAIL:", sys.argv[1] + ":", p)
    sys.exit(1 if problems else 0)


if __name__ == "__main__":
    main()
