#!/usr/bin/env python3
"""What the end-to-end runs expect, worked out from the record's byte table, the file's byte
transform and the tool's texts alone, never by the program under test.

  expect.py file OUT [FIELD=VALUE ...]   write a scrambled CfgFtpDn.bin: the record's values at
                                         start, then each FIELD=VALUE applied in order
  expect.py compare EXPECTED ACTUAL      byte for byte; names the fields that differ
  expect.py text LANG NAME               a text of the tool as hex bytes (LANG zh or en)

A text VALUE may hold escapes (\\0, \\xNN). It is stored as the tool stores text: its bytes and
one zero byte from the field's start, the rest of the field kept; so szFtpUser=abcdef then
szFtpUser=xy leaves "xy", a zero, "def" and a zero.
"""
import struct
import sys

RECORD_SIZE = 308
SCRAMBLE_XOR = 0xA6

# name: (offset, width, kind); kind is a struct format or 'text'.
FIELDS = {
    'bySelectBy': (0, 1, '<B'),
    'byAlign': (1, 1, '<B'),
    'uwDebugPort': (2, 2, '<H'),
    'szDebugUrl': (4, 61, 'text'),
    'byUrl1Enable': (65, 1, '<B'),
    'szUrl1': (66, 62, 'text'),
    'iDirMode': (128, 4, '<i'),
    'szFtpDir': (132, 32, 'text'),
    'byReserved': (164, 1, '<B'),
    'szFtpServer': (165, 61, 'text'),
    'szFtpUser': (226, 49, 'text'),
    'szFtpPassword': (275, 33, 'text'),
}
assert sum(width for _, width, _ in FIELDS.values()) == RECORD_SIZE

# The texts the dialog and its messages show: Chinese as code page 936 bytes, English ASCII.
TEXTS = {
    'TXT_TITLE': ('遥控FTP参数设置', 'FTP settings for remote update'),
    'TXT_SELECT_TYPE': ('选择FTP类别', 'Select FTP type'),
    'TXT_FTP_PARAMS': ('FTP参数', 'FTP Parameters'),
    'TXT_SERVER': ('服务器', 'Server'),
    'TXT_PORT': ('端口', 'Port'),
    'TXT_USER': ('用户名', 'User Name'),
    'TXT_PASSWORD': ('密码', 'Password'),
    'TXT_UPLOAD_DIR': ('上传到的FTP目录', 'Upload to FTP directory'),
    'TXT_SAVE_PATH': ('参数保存位置', 'Parameter Save Path'),
    'TXT_BROWSE': ('浏览', 'Browse'),
    'TXT_GENERATE': ('生成配置', 'Generate'),
    'TXT_VERSION': ('版本号: V1.5', 'Version: V1.5'),
    'TXT_DIR_ROOT': ('根目录', 'Root'),
    'TXT_DIR_SPECIFY': ('指定目录', 'Specify'),
    'TXT_CAPTION_NOTICE': ('通知', 'Notice'),
    'MSG_NEED_SERVER': ('未生成配置文件！\r\n请输入FTP服务器。',
                        'Generate failed!\r\nPlease enter FTP server.'),
    'MSG_NEED_PORT': ('未生成配置文件！\r\n请输入FTP端口。',
                      'Generate failed!\r\nPlease enter FTP port.'),
    'MSG_PORT_RANGE': ('未生成配置文件！\r\n端口不能大于65535。',
                       'Generate failed!\r\nPort cannot be greater than 65535.'),
    'MSG_NEED_USER': ('未生成配置文件！\r\nFTP帐号错误!', 'Generate failed!\rFTP account error!'),
    'MSG_NEED_PASSWORD': ('未生成配置文件！\r\n请输入FTP密码。',
                          'Generate failed!\r\nPlease enter FTP password.'),
    'MSG_SAVE_FAILED': ('生成配置文件失败!', 'Failed to generate configuration file!'),
    'MSG_SUCCESS': ('成功生成配置文件!', 'Generate Success!'),
}


def record_at_start():
    record = bytearray(RECORD_SIZE)
    record[0] = 1
    record[2:4] = struct.pack('<H', 21)
    return record


def store(record, name, value):
    offset, width, kind = FIELDS[name]
    if kind == 'text':
        text = value.encode('latin-1').decode('unicode_escape').encode('latin-1')
        text = text[:width - 1] + b'\0'
        record[offset:offset + len(text)] = text
    else:
        record[offset:offset + width] = struct.pack(kind, int(value, 0))


def scramble(record):
    out = bytearray()
    for byte in record:
        x = byte ^ SCRAMBLE_XOR
        out.append(((x >> 2) | (x << 6)) & 0xFF)
    return bytes(out)


def field_at(offset):
    for name, (start, width, _) in FIELDS.items():
        if start <= offset < start + width:
            return name
    return '?'


def main(argv):
    if len(argv) >= 2 and argv[0] == 'file':
        record = record_at_start()
        for assignment in argv[2:]:
            name, _, value = assignment.partition('=')
            store(record, name, value)
        with open(argv[1], 'wb') as out:
            out.write(scramble(record))
        return 0
    if len(argv) == 3 and argv[0] == 'compare':
        expected = open(argv[1], 'rb').read()
        try:
            actual = open(argv[2], 'rb').read()
        except OSError as error:
            print(f'no file: {error}')
            return 1
        if actual == expected:
            return 0
        print(f'{argv[2]}: {len(actual)} bytes, expected {len(expected)}')
        for offset in range(min(len(actual), len(expected))):
            if actual[offset] != expected[offset]:
                print(f'  offset {offset} ({field_at(offset)}): '
                      f'{actual[offset]:02x}, expected {expected[offset]:02x}')
        return 1
    if len(argv) == 3 and argv[0] == 'text':
        chinese, english = TEXTS[argv[2]]
        text = chinese.encode('cp936') if argv[1] == 'zh' else english.encode('ascii')
        print(text.hex())
        return 0
    print(__doc__, file=sys.stderr)
    return 2


if __name__ == '__main__':
    sys.exit(main(sys.argv[1:]))
