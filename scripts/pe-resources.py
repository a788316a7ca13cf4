#!/usr/bin/env python3
"""Prints what a Windows executable says about itself in its resources: the strings
and numbers of its version resource and the images of its icon group; or writes out
the bytes of one resource.

    pe-resources.py FILE
    pe-resources.py FILE TYPE NAME > OUT    (names as in the resource script: 3BS VEXA)

One "name=value" line each, for example "FileVersion=6.0.0.0", "FixedFileVersion=6.0.0.0",
"IconSizes=16,32,48,256", "IconPngSizes=256", "IconGroupBytes=3975". Used by the
product checks (scripts/check-product.sh); the demo takes the package that an
installer embeds with the second form.
"""
import struct
import sys

RT_ICON, RT_GROUP_ICON, RT_VERSION = 3, 14, 16


class Image:
    def __init__(self, data):
        self.data = data
        pe = struct.unpack_from('<I', data, 0x3C)[0]
        if data[pe:pe + 4] != b'PE\0\0':
            raise ValueError('not a PE file')
        sections, optional_size = struct.unpack_from('<H12xH', data, pe + 6)
        optional = pe + 24
        magic = struct.unpack_from('<H', data, optional)[0]
        directories = optional + (96 if magic == 0x10B else 112)
        self.resource_rva = struct.unpack_from('<I', data, directories + 2 * 8)[0]
        self.sections = []
        table = optional + optional_size
        for i in range(sections):
            size, rva, raw_size, raw = struct.unpack_from('<8xIIII', data, table + 40 * i)
            self.sections.append((rva, max(size, raw_size), raw))

    def at(self, rva):
        for start, size, raw in self.sections:
            if start <= rva < start + size:
                return raw + rva - start
        raise ValueError('address outside every section')

    def resources(self):
        """{(type, name): data} for the first language of each resource; a type or
        name given as a string in the resource script is that string, upper case."""
        if not self.resource_rva:
            return {}
        base = self.at(self.resource_rva)
        found = {}

        def entries(offset):
            named, numbered = struct.unpack_from('<12xHH', self.data, base + offset)
            for i in range(named + numbered):
                ident, target = struct.unpack_from('<II', self.data, base + offset + 16 + 8 * i)
                if ident & 0x80000000:
                    at = base + (ident & 0x7FFFFFFF)
                    length = struct.unpack_from('<H', self.data, at)[0]
                    ident = self.data[at + 2:at + 2 + 2 * length].decode('utf-16-le')
                yield ident, target

        for kind, names in entries(0):
            for name, languages in entries(names & 0x7FFFFFFF):
                for _, leaf in list(entries(languages & 0x7FFFFFFF))[:1]:
                    rva, size = struct.unpack_from('<II', self.data, base + leaf)
                    found[(kind, name)] = self.data[self.at(rva):self.at(rva) + size]
        return found


def version_entries(block):
    """(key, value bytes, children bytes) of a version-information block."""
    length, value_length, kind = struct.unpack_from('<HHH', block, 0)
    end = 6
    while block[end:end + 2] != b'\0\0':
        end += 2
    key = block[6:end].decode('utf-16-le')
    value_start = (end + 2 + 3) & ~3
    value_bytes = value_length * 2 if kind == 1 else value_length
    value = block[value_start:value_start + value_bytes]
    children_start = (value_start + value_bytes + 3) & ~3
    return key, kind, value, block[children_start:length]


def children(data):
    while len(data) >= 6:
        length = struct.unpack_from('<H', data, 0)[0]
        if length == 0:
            break
        yield data[:length]
        data = data[(length + 3) & ~3:]


def describe_version(block, out):
    key, _, fixed, rest = version_entries(block)
    if key != 'VS_VERSION_INFO' or len(fixed) < 52:
        raise ValueError('malformed version resource')
    file_ms, file_ls, product_ms, product_ls = struct.unpack_from('<4I', fixed, 8)
    dotted = lambda ms, ls: '%d.%d.%d.%d' % (ms >> 16, ms & 0xFFFF, ls >> 16, ls & 0xFFFF)
    out.append(('FixedFileVersion', dotted(file_ms, file_ls)))
    out.append(('FixedProductVersion', dotted(product_ms, product_ls)))
    for child in children(rest):
        name, _, _, tables = version_entries(child)
        if name != 'StringFileInfo':
            continue
        for table in children(tables):
            _, _, _, strings = version_entries(table)
            for entry in children(strings):
                string_key, _, value, _ = version_entries(entry)
                out.append((string_key, value.decode('utf-16-le').rstrip('\0')))


def describe_icons(resources, out):
    groups = [data for (kind, _), data in resources.items() if kind == RT_GROUP_ICON]
    if not groups:
        return
    group = groups[0]
    count = struct.unpack_from('<H', group, 4)[0]
    sizes, png_sizes, total = [], [], len(group)
    for i in range(count):
        width, _, _, _, _, _, _, ident = struct.unpack_from('<BBBBHHIH', group, 6 + 14 * i)
        size = width or 256
        image = resources.get((RT_ICON, ident), b'')
        total += len(image)
        sizes.append(size)
        if image.startswith(b'\x89PNG'):
            png_sizes.append(size)
    out.append(('IconGroups', str(len(groups))))
    out.append(('IconSizes', ','.join(map(str, sizes))))
    out.append(('IconPngSizes', ','.join(map(str, png_sizes))))
    out.append(('IconGroupBytes', str(total)))


def main():
    if len(sys.argv) not in (2, 4):
        sys.exit('usage: pe-resources.py FILE [TYPE NAME]')
    with open(sys.argv[1], 'rb') as f:
        image = Image(f.read())
    resources = image.resources()
    if len(sys.argv) == 4:
        wanted = tuple(int(x) if x.isdigit() else x.upper() for x in sys.argv[2:])
        if wanted not in resources:
            sys.exit('%s has no resource of type %s named %s' % (sys.argv[1], sys.argv[2], sys.argv[3]))
        sys.stdout.buffer.write(resources[wanted])
        return
    out = []
    versions = [data for (kind, _), data in resources.items() if kind == RT_VERSION]
    if versions:
        describe_version(versions[0], out)
    describe_icons(resources, out)
    for key, value in out:
        print('%s=%s' % (key, value))


if __name__ == '__main__':
    main()
