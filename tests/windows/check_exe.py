#!/usr/bin/env python3
"""check_exe.py EXE ICON: the version strings, icon and manifest the Windows
program must carry, read back out of the built file with icoutils' wrestool
and binutils' objdump. Prints each difference; exit status 1 on any."""
import re
import struct
import subprocess
import sys

EXPECTED_STRINGS = {
    "CompanyName": "ZEFA Robotics",
    "FileDescription": "ZEFA GCS",
    "ProductName": "ZEFA GCS",
    "FileVersion": "1.2",
    "ProductVersion": "1.2.0.0",
    "InternalName": "GCS",
}


def resource(exe, kind, raw=True):
    command = ["wrestool", "-x", "-t", kind, exe] + (["--raw"] if raw else [])
    return subprocess.run(command, check=True, capture_output=True).stdout


def icon_images(data):
    """The images of an .ico file, whatever their order and padding."""
    count = struct.unpack_from("<H", data, 4)[0]
    images = []
    for index in range(count):
        size, offset = struct.unpack_from("<II", data, 6 + 16 * index + 8)
        images.append(data[offset:offset + size])
    return sorted(images)


def version_strings(exe):
    text = resource(exe, "16").decode("utf-16-le", errors="replace")
    found = {}
    for key in EXPECTED_STRINGS:
        match = re.search(key + "\x00+([^\x00]*)", text)
        found[key] = match.group(1) if match else None
    return found


def main(exe, icon):
    faults = []
    for key, value in version_strings(exe).items():
        if value != EXPECTED_STRINGS[key]:
            faults.append(f"{key} is {value!r}, expected {EXPECTED_STRINGS[key]!r}")
    with open(icon, "rb") as file:
        if icon_images(resource(exe, "14", raw=False)) != icon_images(file.read()):
            faults.append(f"the program's icon is not {icon}")
    manifest = resource(exe, "24").decode("utf-8")
    if not re.search(r'requestedExecutionLevel level="asInvoker"', manifest):
        faults.append("the manifest does not ask for asInvoker")
    if not re.search(r'name="Microsoft\.Windows\.Common-Controls" version="6\.0\.0\.0"', manifest):
        faults.append("the manifest does not ask for common controls 6")
    # Qt declares the DPI awareness itself at start-up.
    if re.search(r"dpiAware", manifest, re.IGNORECASE):
        faults.append("the manifest declares a DPI awareness")
    headers = subprocess.run(["x86_64-w64-mingw32-objdump", "-p", exe], check=True,
                             capture_output=True, text=True).stdout
    if not re.search(r"Subsystem\s+00000002\s+\(Windows GUI\)", headers):
        faults.append("the program is not of the GUI subsystem")
    for fault in faults:
        print(f"check_exe: {fault}")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1], sys.argv[2]))
