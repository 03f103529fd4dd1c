"""The Debian package as a hospital's IT installs it: built by CPack from this
build folder, unpacked into a temporary root and used from there.

- the package: its dependencies hold the libraries the programs link and the Qt
  database drivers they load by name; it has no maintainer scripts and nothing
  outside /usr, so upgrading or removing it never touches a clerk's settings or logs;
- every program in /usr/bin answers --version with the package's version without a
  display, and --help, and has a manual page naming the same long options;
- vantik-demo-db, run without a folder, makes the demo database in the user's data
  folder (the one the installed program offers), and vantik-sql reads it;
- the desktop entry and the metainfo pass their validators and agree with each
  other and with the icons, whose PNG sizes are what their folders say;
- the documents' links and pictures hold where they are installed, the change log
  names this version, and every file of the repository's data/ is installed.

Usage: package_test.py SOURCE_DIR BUILD_DIR [CPACK]
Exits with 77 (skipped) when dpkg-deb is missing.
"""

import glob
import gzip
import os
import re
import shutil
import struct
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ElementTree

SKIPPED = 77


def run(command, **options):
    return subprocess.run(command, capture_output=True, text=True, timeout=600, **options)


def without_display():
    env = {k: v for k, v in os.environ.items() if k not in ("DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM")}
    env["LANG"] = "C.UTF-8"
    return env


def long_options(text):
    return set(re.findall(r"(?<![\w-])--[a-z][a-z-]*", text))


def build_package(cpack, build, out, failures):
    made = run([cpack, "-G", "DEB", "-B", out, "--config", os.path.join(build, "CPackConfig.cmake")])
    debs = glob.glob(os.path.join(out, "*.deb"))
    if made.returncode != 0 or len(debs) != 1:
        failures.append("cpack made no package:\n" + made.stdout + made.stderr)
        return None
    return debs[0]


def check_control(deb, version, failures):
    fields = {}
    for name in ("Package", "Version", "Depends"):
        fields[name] = run(["dpkg-deb", "-f", deb, name]).stdout.strip()
    if fields["Version"] != version:
        failures.append(f"the package's version {fields['Version']!r} is not the programs' {version!r}")
    depends = {d.strip().split(" ")[0] for d in fields["Depends"].split(",")}
    for needed in ("libqt6widgets6", "libqt6sql6", "libsqlite3-0", "libodbc2", "libqt6sql6-sqlite", "libqt6sql6-odbc"):
        if needed not in depends:
            failures.append(f"Depends lacks {needed}: {fields['Depends']}")
    control = run(["dpkg-deb", "--ctrl-tarfile", deb])
    members = run(["tar", "-t"], input=control.stdout).stdout.split() if control.returncode == 0 else []
    scripts = [m for m in members if os.path.basename(m) in ("preinst", "postinst", "prerm", "postrm", "conffiles")]
    if scripts:
        failures.append(f"the package has maintainer scripts or conffiles: {scripts}")
    listing = run(["dpkg-deb", "-c", deb]).stdout.splitlines()
    outside = [line.split()[-1] for line in listing if not re.match(r"\./(usr/)?$|\./usr/", line.split()[-1])]
    if outside:
        failures.append(f"files outside /usr: {outside}")


def check_programs(root, version, failures):
    bin_dir = os.path.join(root, "usr", "bin")
    programs = sorted(os.listdir(bin_dir)) if os.path.isdir(bin_dir) else []
    for needed in ("vantik-worklist", "vantik-demo-db", "vantik-sql"):
        if needed not in programs:
            failures.append(f"/usr/bin has no {needed}: {programs}")
    for program in programs:
        path = os.path.join(bin_dir, program)
        answer = run([path, "--version"], env=without_display())
        if answer.returncode != 0 or answer.stdout != f"{program} {version}\n":
            failures.append(f"{program} --version gave {answer.returncode}: {answer.stdout!r} {answer.stderr!r}")
        help_text = run([path, "--help"], env=without_display())
        if help_text.returncode != 0 or not help_text.stdout.startswith("Usage: "):
            failures.append(f"{program} --help gave {help_text.returncode}: {help_text.stdout!r} {help_text.stderr!r}")
            continue
        page = os.path.join(root, "usr", "share", "man", "man1", program + ".1.gz")
        if not os.path.isfile(page):
            failures.append(f"{program} has no manual page")
            continue
        with gzip.open(page, "rt", encoding="utf-8") as source:
            roff = source.read().replace("\\-", "-")
        if "@PROJECT_VERSION@" in roff or f'"vantik {version}"' not in roff:
            failures.append(f"the manual page of {program} does not name version {version}")
        if long_options(help_text.stdout) != long_options(roff):
            failures.append(f"{program}: --help names {sorted(long_options(help_text.stdout))}, "
                            f"its manual page {sorted(long_options(roff))}")


def check_demo_database(root, work, failures):
    home = os.path.join(work, "home")
    os.makedirs(home)
    env = without_display()
    env.pop("XDG_DATA_HOME", None)
    env["HOME"] = home
    made = run([os.path.join(root, "usr", "bin", "vantik-demo-db"), "--admissions", "40"], env=env)
    folder = os.path.join(home, ".local", "share", "vantik", "demo-db")
    files = sorted(os.listdir(folder)) if os.path.isdir(folder) else []
    expected = ["Build_File.sqlite", "MEDICARE.sqlite", "Patient_Data.sqlite", "Station.sqlite"]
    if made.returncode != 0 or files != expected:
        failures.append(f"vantik-demo-db without --out gave {made.returncode} {made.stderr!r}; "
                        f"the user's demo folder holds {files}")
        return
    query = run([os.path.join(root, "usr", "bin", "vantik-sql"), "--db", folder,
                 "SELECT COUNT(*) AS Users FROM Build_File..tbcoUsers WHERE UserName = 'clerk'"], env=env)
    if query.returncode != 0 or query.stdout != "Users\n1\n":
        failures.append(f"vantik-sql on the demo database gave {query.returncode}: {query.stdout!r} {query.stderr!r}")


def read_bytes(path):
    with open(path, "rb") as source:
        return source.read()


def png_size(path):
    with open(path, "rb") as image:
        head = image.read(24)
    if head[:8] != b"\x89PNG\r\n\x1a\n":
        return None
    return struct.unpack(">II", head[16:24])


def desktop_entry(path):
    entry = {}
    with open(path, encoding="utf-8") as source:
        for line in source:
            if "=" in line and not line.startswith("#"):
                key, value = line.rstrip("\n").split("=", 1)
                entry.setdefault(key, value)
    return entry


def check_desktop(root, version, failures):
    share = os.path.join(root, "usr", "share")
    entries = glob.glob(os.path.join(share, "applications", "*.desktop"))
    if len(entries) != 1:
        failures.append(f"expected one desktop entry, found {entries}")
        return
    entry_path = entries[0]
    app_id = os.path.basename(entry_path)[: -len(".desktop")]
    checked = run(["desktop-file-validate", entry_path])
    if checked.returncode != 0 or checked.stdout.strip():
        failures.append("desktop-file-validate: " + checked.stdout + checked.stderr)
    entry = desktop_entry(entry_path)
    if not os.path.isfile(os.path.join(root, "usr", "bin", entry.get("Exec", "").split(" ")[0])):
        failures.append(f"the desktop entry starts {entry.get('Exec')!r}, which is not in /usr/bin")
    icons = os.path.join(share, "icons", "hicolor")
    icon = entry.get("Icon", "")
    if not os.path.isfile(os.path.join(icons, "scalable", "apps", icon + ".svg")):
        failures.append(f"no scalable icon {icon}.svg")
    sizes = sorted(glob.glob(os.path.join(icons, "*x*", "apps", icon + ".png")))
    if len(sizes) < 4:
        failures.append(f"too few PNG sizes of {icon}: {sizes}")
    for png in sizes:
        side = int(os.path.basename(os.path.dirname(os.path.dirname(png))).split("x")[0])
        if png_size(png) != (side, side):
            failures.append(f"{png} is {png_size(png)}, not {side}x{side}")

    metainfo = os.path.join(share, "metainfo", app_id + ".metainfo.xml")
    if not os.path.isfile(metainfo):
        failures.append(f"no metainfo {app_id}.metainfo.xml")
        return
    checked = run(["appstreamcli", "validate", "--no-net", metainfo])
    if checked.returncode != 0:
        failures.append("appstreamcli validate: " + checked.stdout + checked.stderr)
    component = ElementTree.parse(metainfo).getroot()
    if component.findtext("id") != app_id or component.findtext("launchable") != app_id + ".desktop":
        failures.append(f"the metainfo's id and launchable do not name {app_id}.desktop")
    provided = sorted(b.text for b in component.iter("binary"))
    if provided != sorted(os.listdir(os.path.join(root, "usr", "bin"))):
        failures.append(f"the metainfo provides {provided}, /usr/bin holds others")
    releases = [r.get("version") for r in component.iter("release")]
    if not releases or releases[0] != version:
        failures.append(f"the metainfo's newest release is {releases[:1]}, not {version}")


def check_documents(source, root, version, failures):
    doc = os.path.join(root, "usr", "share", "doc", "vantik")
    for name in ("copyright", "README.md", "docs/user-guide.md", "docs/sql-server.md"):
        if not os.path.isfile(os.path.join(doc, name)):
            failures.append(f"/usr/share/doc/vantik/{name} is missing")
    for markdown in glob.glob(os.path.join(doc, "**", "*.md"), recursive=True):
        with open(markdown, encoding="utf-8") as text:
            for target in re.findall(r"\]\(([^)#\s]+)[^)]*\)", text.read()):
                if "://" not in target and not os.path.exists(os.path.join(os.path.dirname(markdown), target)):
                    failures.append(f"{os.path.relpath(markdown, doc)} links to {target}, not installed")
    try:
        with gzip.open(os.path.join(doc, "changelog.gz"), "rt", encoding="utf-8") as changelog:
            newest = changelog.readline()
        if not newest.startswith(f"vantik ({version})"):
            failures.append(f"the change log's newest entry is {newest.strip()!r}, not version {version}")
    except OSError as error:
        failures.append(f"the change log cannot be read: {error}")

    data = os.path.join(source, "data")
    for path in glob.glob(os.path.join(data, "**", "*"), recursive=True):
        name = os.path.relpath(path, data)
        installed = os.path.join(root, "usr", "share", "vantik", name)
        if os.path.isfile(path) and (not os.path.isfile(installed) or read_bytes(installed) != read_bytes(path)):
            failures.append(f"data/{name} is not installed as /usr/share/vantik/{name}")


def main():
    source, build = sys.argv[1], sys.argv[2]
    cpack = sys.argv[3] if len(sys.argv) > 3 else "cpack"
    if shutil.which("dpkg-deb") is None:
        print("dpkg-deb is missing: no Debian package can be built here")
        return SKIPPED
    failures = []
    with tempfile.TemporaryDirectory(prefix="vantik-package.") as work:
        deb = build_package(cpack, build, os.path.join(work, "out"), failures)
        if deb:
            print("built", os.path.basename(deb))
            root = os.path.join(work, "root")
            unpacked = run(["dpkg-deb", "-x", deb, root])
            if unpacked.returncode != 0:
                failures.append("dpkg-deb -x: " + unpacked.stderr)
            else:
                answer = run([os.path.join(root, "usr", "bin", "vantik-worklist"), "--version"], env=without_display())
                version = answer.stdout.strip().rpartition(" ")[2]
                check_control(deb, version, failures)
                check_programs(root, version, failures)
                check_demo_database(root, work, failures)
                check_desktop(root, version, failures)
                check_documents(source, root, version, failures)
    for failure in failures:
        print("FAIL:", failure)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
