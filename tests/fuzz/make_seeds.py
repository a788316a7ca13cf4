#!/usr/bin/env python3
"""Writes the seed corpus of the fuzz targets (corpus/<target>/), one small file per
case, each laid out as the target reads its input (see the *_fuzz.cpp files)."""
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))
LANGUAGE = os.path.join(HERE, '..', '..', 'testdata', 'language')


def write(target, name, data):
    folder = os.path.join(HERE, 'corpus', target)
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, name), 'wb') as f:
        f.write(data)


def language_file(name):
    with open(os.path.join(LANGUAGE, name), 'rb') as f:
        return f.read()


# Language files: settings byte (piece size, skip-first-line, key from the table),
# key|arguments, the file.
english = language_file('english.lng')
write('lang_file', 'english-installask', b'\x05installask|Orvel update|Star Moths 6\n' + english)
write('lang_file', 'english-langcode', b'\x84langcode\n' + english)
write('lang_file', 'russian-olderfilever', b'\x41olderfilever|vexa.3bs\n' + language_file('russian.lng'))
write('lang_file', 'headers-and-blocks', b'\x02Key|A|%2|C|D\n'
      b'text\r\n[ key ]\r\n[KEY] after\r\nfirst %1\rline\n%2 second\r\n\r\n[key]\r\nlater\x1a[key]\r\nafter eof\r\n')
write('lang_file', 'integers', b'\x83langcharset\n[langcharset]\n  -0x7fffffff\n[langcode]\n$419\n+2073\n\n')

# Versions: 3bs flag, new version, installed version, the file.
write('version', 'package-header', b'\x01' + b'1.2.3.4\n1.2.3.10\n' + b'vexa\x02\x06\x00\x34\x12')
write('version', 'langver', b'\x00' + b'2.0.0.0\n10.0.0.0\n' + b'[LangVer] text\r\n12\r\n[langver]\r\n13\r\n')
write('version', 'odd-versions', b'\x00' + b'1.0.0.x\n1,0,0,1\n' + b'[langver]\n 0012\x1a')

# Windows: major, minor, build (4 bytes), platform, flags, suite mask (2), product
# type, architecture (2), service pack, product name, product type, console bytes.
def facts(major, minor, build, platform, flags, suite, product, arch, csd, name, ptype):
    return (bytes([major, minor]) + struct.pack('<I', build) + bytes([platform, flags]) +
            struct.pack('<H', suite) + bytes([product]) + struct.pack('<H', arch) +
            csd + b'\n' + name + b'\n' + ptype + b'\n')


write('os_ver', 'windows10', facts(6, 2, 9200, 2, 0x21, 0x100, 1, 9, b'', b'Windows 10 Pro', b'') +
      b'\r\nMicrosoft Windows [Version 10.0.19045.2965]\r\n')
write('os_ver', 'windows81-server', facts(6, 2, 9200, 2, 0x01, 0, 3, 0, b'', b'', b'') +
      b'Microsoft Windows [Version 6.3.9600]\r')
write('os_ver', 'unknown-major', facts(11, 0, 22000, 2, 0x01, 0, 3, 12, b'Service Pack 1', b'', b'') +
      b'Microsoft Windows [Vers\x1aion 11.0]')
write('os_ver', 'xp-x64', facts(5, 2, 3790, 2, 0x01, 0, 1, 9, b'Service Pack 2', b'', b''))
write('os_ver', 'nt4', facts(4, 0, 1381, 2, 0xc0, 0, 1, 0, b'Service Pack 6', b'', b'lanmannt'))
write('os_ver', 'win98se', facts(4, 10, 2222, 1, 0, 0, 0, 0, b' A ', b'', b''))


# PE images: settings byte, block size (2 bytes), the image. Sections hold a counting
# pattern; ".oseal" starts with the seal marker and an empty digest.
MARKER = b'Orvel seal slot1'


def pe_image(pe32_plus, sections, size, certificate=0):
    image = bytearray(size)
    image[0:2] = b'MZ'
    struct.pack_into('<I', image, 0x3c, 0x80)
    image[0x80:0x84] = b'PE\0\0'
    optional = 0x80 + 24
    optional_size = 0xf0 if pe32_plus else 0xe0
    struct.pack_into('<HH', image, 0x84, 0x8664 if pe32_plus else 0x14c, len(sections))
    struct.pack_into('<H', image, 0x80 + 20, optional_size)
    struct.pack_into('<H', image, optional, 0x20b if pe32_plus else 0x10b)
    directories = optional + (108 if pe32_plus else 92)
    struct.pack_into('<I', image, directories, 16)
    header = optional + optional_size
    for name, offset, raw_size in sections:
        struct.pack_into('<8sIIII', image, header, name, raw_size, offset, raw_size, offset)
        header += 40
        for i in range(raw_size):
            image[offset + i] = (i * 7) & 0xff
        if name == b'.oseal':
            image[offset:offset + 48] = MARKER + bytes(32)
    if certificate:
        struct.pack_into('<II', image, directories + 4 + 4 * 8, len(image), certificate)
        image += b'\xce' * certificate
    return bytes(image)


usual = [(b'.text', 0x400, 0x200), (b'.oseal', 0x600, 0x200), (b'.rsrc', 0x800, 0x400)]
write('seal_layout', 'pe32plus', b'\x00\x00\x01' + pe_image(True, usual, 0xc00))
write('seal_layout', 'pe32-blocks', b'\x01\x00\x02' + pe_image(False, usual, 0xc00))
write('seal_layout', 'signed', b'\x00\x40\x00' + pe_image(True, usual, 0xc00, certificate=0x40))
write('seal_layout', 'head-only', b'\x03\x80\x00\x00\x10' + pe_image(True, usual, 0xc00)[:0x400])
