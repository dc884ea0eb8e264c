#!/usr/bin/env python3
"""Writes the fuzz harnesses' seed corpora (tools/fuzz/corpus/<harness>/) from the datagrams the
tests write out by hand: discovery replies, ArtPollReplies, and Kivnet device settings, port
settings, identify and switch settings replies, each wrapped in the harness's input script."""
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))


def chunk(data):
    return struct.pack(">H", len(data)) + bytes(data)


def kivnet_body(length, **fields):
    """The bytes after the 8-byte Kivnet header of a reply `length` bytes long, 0 unless set."""
    body = bytearray(length - 8)
    for offset, value in fields.items():
        at = int(offset[1:]) - 8
        body[at:at + len(value)] = value
    return bytes(body)


def discovery_reply(model, unit, ip, name=b"Stage left", mask=(255, 255, 0, 0)):
    reply = bytearray(50)
    reply[0:4] = b"M-R\0"
    reply[5] = 0x11
    reply[8:8 + len(name)] = name
    reply[26:32] = bytes([0x00, 0x50, 0xC2, 0x12, 0x34, 0x56])
    reply[32:34] = struct.pack(">H", unit)
    reply[40:44] = struct.pack(">I", ip)
    reply[44:48] = bytes(mask)
    reply[48:50] = struct.pack(">H", model)
    return bytes(reply)


def poll_reply(long_name, op_code=0x2100, length=239):
    reply = bytearray(max(length, 44 + len(long_name)))
    reply[0:8] = b"Art-Net\0"
    reply[8:10] = struct.pack("<H", op_code)
    reply[44:44 + len(long_name)] = long_name
    return bytes(reply[:length])


def write(harness, name, data):
    folder = os.path.join(HERE, "corpus", harness)
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, name), "wb") as out:
        out.write(data)


# Update port: [step][...]; steps 0 raw (sender, chunk), 1 reply of a model (model pick, unit,
# sender, dhcp, name chunk, patch offset, patch chunk), 3 answer, 4 ticks.
MODELS = [0x0103, 0x0106, 0x0107, 0x0108, 0x0109, 0x010A, 0x0111, 0x0203,
          0x0318, 0x0319, 0x2024, 0x300E]
for i, model in enumerate(MODELS):
    raw = bytes([0, 0x11 + i]) + chunk(discovery_reply(model, 1, 0x0AC90011 + i))
    write("update", "raw-%04x" % model, raw + bytes([4, 25]) + raw + bytes([3]) * 8)
write("update", "dhcp-and-cut",
      bytes([0, 0x30]) + chunk(discovery_reply(0x0103, 7, 0)) +
      bytes([0, 0x31]) + chunk(discovery_reply(0x0103, 7, 0x0AC90031)[:49]) +
      bytes([0, 0x32]) + chunk(discovery_reply(0x0000, 0, 0x0AC90032)))
write("update", "every-model-readdressed",
      b"".join(bytes([1, i, 1, 0x20 + i, 0]) + chunk(b"FOH") + bytes([0]) + chunk(b"")
               for i in range(12)) +
      b"".join(bytes([1, i, 1, 0x40 + i, i & 1]) + chunk("Bühne".encode()) + bytes([44]) +
               chunk(bytes([255, 255, 255, 0])) for i in range(12)) + bytes([4, 40]))

# Kivnet: [target][exchanges] then steps 0 raw from the target, 1 header + code + body from the
# target, 2 from another device, 3 answer, 4 ticks.
DEVICE_SETTINGS = kivnet_body(96, o34=b"\x02", o35=b"\x05", o36=b"Ready")
PORT_OUTPUT = kivnet_body(164, o8=b"\x00\x02", o12=b"\x03\x12")
PORT_INPUT = kivnet_body(22, o8=b"\x01\x01", o12=b"\x02\x1f")
IDENTIFY = kivnet_body(44, o8=b"SwitchKappa", o41=b"\x12\x01", o43=b"\x12")
SMALL_SWITCH = kivnet_body(450, o8=b"Truss", o26=b"\x02", o27=b"\x08", o66=b"\x02\x00\x02\x00",
                           o82=b"\x02\x00\x01\x00")
LARGE_SWITCH = kivnet_body(1354, o27=b"\x0a", o1346=b"\x08\x04")
for target in range(12):
    for exchanges in (0, 1, 2, 5, 12, 40):
        script = bytes([target, exchanges])
        script += bytes([1]) + struct.pack(">H", 0x8021) + chunk(DEVICE_SETTINGS)
        script += bytes([1]) + struct.pack(">H", 0x8031) + chunk(PORT_OUTPUT)
        script += bytes([1]) + struct.pack(">H", 0x8031) + chunk(PORT_INPUT)
        if target >= 8:
            script += bytes([1]) + struct.pack(">H", 0x8011) + chunk(IDENTIFY)
            script += bytes([1]) + struct.pack(">H", 0x8041) + chunk(
                LARGE_SWITCH if target in (9, 10) else SMALL_SWITCH)
        script += bytes([3, 3, 4, 2])
        write("kivnet", "device%02d-after%02d" % (target, exchanges), script)
write("kivnet", "cut-short-from-another",
      bytes([9, 4]) + bytes([2, 3]) + struct.pack(">H", 0x8031) + chunk(PORT_OUTPUT[:3]) +
      bytes([0]) + chunk(bytes([0x00, 0x36, 0x93, 0x16, 0x00, 0x01, 0x80, 0x21])) +
      bytes([1]) + struct.pack(">H", 0x8041) + chunk(LARGE_SWITCH[:1300]))

# Art-Net: steps 0 raw (sender pick, chunk), 1 reply (sender pick, op-code pick, long name chunk,
# length pick), 2 answer.
NAMES = [b"Pylon NodeBeta ID: 112", b"Pylon SwitchTheta ID:", b"StoreEta ID:   7",
         b"Console", b"Pylon ID: 99999999999999", "Pylon Bühne ID: 3".encode()]
for i, name in enumerate(NAMES):
    write("artnet", "reply-%d" % i,
          bytes([1, i, 0]) + chunk(name) + bytes([0]) + bytes([2, 2]) +
          bytes([0, i + 1]) + chunk(poll_reply(name)))
write("artnet", "cut-and-foreign-opcode",
      bytes([1, 3, 0xC0]) + struct.pack(">H", 0x5000) + chunk(NAMES[0]) + bytes([0xE0]) +
      struct.pack(">H", 100) + bytes([0, 200]) + chunk(poll_reply(NAMES[0], length=200)))

# Dialogs: [kind][device pick][send at once][element pick] then steps 0 click (control pick,
# dx, dy), 1 type (character pick), 2 answer, 3 ticks, 4 "OK".
TYPE = {c: i for i, c in enumerate("0123456789abcdefAFxZ.- ")}
def typed(text):
    return b"".join(bytes([1, TYPE[c]]) for c in text)
write("dialogs", "dmx-universe", bytes([0, 0, 0, 1]) + typed("12") + bytes([3, 30, 4]))
write("dialogs", "dmx-module-port", bytes([0, 9, 0, 12]) + bytes([0, 3, 10, 5]) + typed("7f") +
      bytes([4]))
write("dialogs", "network-default", bytes([1, 0, 0]) + bytes([0, 9, 20, 5]) + bytes([3, 31]) * 2 +
      bytes([4]))
write("dialogs", "network-typed", bytes([1, 3, 0xF0]) + bytes([0, 5, 10, 5]) + typed("10.2") +
      bytes([2, 2, 4]))
write("dialogs", "name-long", bytes([2, 1, 0]) + bytes([0, 4, 20, 10]) +
      bytes([1, 29]) * 17 + typed("ab") + bytes([4]))
write("dialogs", "name-switch", bytes([2, 8, 0]) + bytes([0, 4, 20, 10]) + typed("FAZ") +
      bytes([3, 25, 4]))
write("dialogs", "switch-loop", bytes([3, 0, 0, 2]) + bytes([0, 2, 60, 8]) + bytes([0, 7, 5, 5]) +
      typed("5") + bytes([4]))
write("dialogs", "switch-vlan", bytes([3, 2, 0xF0, 7]) + bytes([0, 8, 5, 5]) + typed("4095") +
      bytes([3, 31, 4]))

# Rig files: small documents in the format's shape, written compactly so that mutations reach
# every field within the length limit.
RIG_HEAD = '{"format":"merrow-rigwise-rig","version":"1.0","devices":['
def rig(*devices):
    return (RIG_HEAD + ",".join(devices) + "]}").encode()
def rig_device(code, unit, extra=""):
    return ('{"modelCode":"%s","unit":%d,"name":"Stage %d","ip":"10.201.0.%d",'
            '"mask":"255.255.255.0","dhcp":false,"lock":false%s}' % (code, unit, unit, 10 + unit,
                                                                      extra))
write("rigfile", "node", rig(rig_device("0x0103", 1,
      ',"displayTimeout":"5-seconds","dmxPorts":[{"port":1,"mode":"output","protocol":"artnet",'
      '"universe":17},{"port":2,"mode":"input","protocol":"sacn","universe":1200},'
      '{"port":3,"mode":"disabled","protocol":null,"universe":null}]')))
write("rigfile", "switch-loop", rig(rig_device("0x0318", 9,
      ',"switchPorts":[{"port":1,"mode":"loop","speed":"auto","vlan":1,"loopPartner":2},'
      '{"port":2,"mode":"loop","speed":"10","vlan":1,"loopPartner":1},'
      '{"port":3,"mode":"trunk","speed":"100","vlan":44}]')))
write("rigfile", "large-switch-module", rig(rig_device("0x0319", 10,
      ',"modules":[{"bay":3,"dmxPorts":[{"port":2,"mode":"output","protocol":"shownet",'
      '"universe":5}]}]')))
write("rigfile", "two-devices", rig(rig_device("0x0108", 4, ',"modelName":"Pylon NodeDelta"'),
                                    rig_device("0x300E", 12)))
