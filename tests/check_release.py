"""
Makes the release archive from a built tree and checks it: it holds, at its
top, exactly the files that its setup information file and the programs
name, less the platform's Unidrv files, and README.TXT and SHA256SUMS; every
sum matches, every other file is the build's own, and the archive and
README.TXT carry the DriverVer version.

Usage: check_release.py SOURCE_DIR BUILD_DIR
"""
import hashlib, os, re, subprocess, sys, tempfile, zipfile

source, build = sys.argv[1], sys.argv[2]
failures = []


def check(ok, message):
    if not ok:
        failures.append(message)


def read_sections(text):
    """Each section's lines as (key, value) pairs, the key None on a line without '='."""
    sections, lines = {}, []
    for line in text.splitlines():
        line = line.split(";", 1)[0].strip()
        if line.startswith("["):
            lines = sections.setdefault(line[1:line.index("]")].lower(), [])
        elif line:
            key, equals, value = line.partition("=")
            lines.append((key.strip(), value.strip()) if equals else (None, line))
    return sections


def inf_file_names(sections):
    """Every file the setup information file names for a model, its print processor or its source disk."""
    def values(section, key):
        return [v for k, v in sections.get(section.lower(), []) if k and k.lower() == key.lower()]

    def string(reference):
        key = reference.strip("%")
        return (values("Strings", key) or [reference])[0].strip('"')

    names = {k for k, _ in sections.get("sourcedisksfiles.amd64", [])}
    processors = values("QLP", "PrintProcessor")
    for _, value in sections.get("manufacturer", []):
        base, *decorations = [f.strip() for f in value.split(",")]
        for models in [base] + [base + "." + d for d in decorations]:
            for _, line in sections.get(models.lower(), []):
                install = line.split(",")[0].strip()
                processors += values(install, "PrintProcessor")
                names.update(values(install, "DataFile"))
                for entry in ",".join(values(install, "CopyFiles")).split(","):
                    entry = entry.strip()
                    names.update([entry[1:]] if entry.startswith("@") else
                                 [v for k, v in sections.get(entry.lower(), []) if k is None])
                for data in values(install, "DataSection"):
                    for key in ("DriverFile", "ConfigFile", "HelpFile", "DataFile"):
                        names.update(values(data, key))
    names.update(string(p).split(",")[1].strip() for p in processors)
    return names


def program_file_names():
    """The names the programs hold fixed: their own, the setup information file's, the driver's files."""
    def read(path):
        return open(os.path.join(source, path), encoding="utf-8").read()

    names = {m for rc in ("resources/setup.rc", "resources/remove.rc")
             for m in re.findall(r'#define PROGRAM_FILE_NAME\s+"([^"]+)"', read(rc))}
    names.update(re.findall(r'\{\s*\d+,\s*"([^"]+)"', read("common/product.cpp")))
    macros = dict(re.findall(r'#define (\w+_FILE)\s+"([^"]+)"', read("common/package_files.h")))
    table = re.search(r"UnidrvFiles\[[^]]*\]\s*=\s*\{([^}]*)\}", read("common/package_files.cpp")).group(1)
    unidrv = {macros.get(e.strip(), e.strip().strip('"')) for e in table.split(",") if e.strip()}
    return names | set(macros.values()), unidrv


with tempfile.TemporaryDirectory() as output:
    subprocess.run(["sh", os.path.join(source, "scripts/make-release.sh"), "--no-build", "--build-dir", build,
                    "--output", output], check=True, stdout=subprocess.DEVNULL)
    archives = os.listdir(output)
    check(len(archives) == 1, "not one archive: %s" % archives)
    with zipfile.ZipFile(os.path.join(output, archives[0])) as archive:
        files = {name: archive.read(name) for name in archive.namelist()}

inf = read_sections(files.get("QLRM550.INF", b"").decode("ascii"))
version = ([v for k, v in inf.get("version", []) if k == "DriverVer"] or [","])[0].split(",")[1].strip()
check(re.fullmatch(r"\d+\.\d+\.\d+\.\d+", version), "no DriverVer version in the archive's QLRM550.INF")
check(archives[0].endswith("-%s.zip" % version), "%s is not named after version %s" % (archives[0], version))

fixed, unidrv = program_file_names()
expected = {n.upper() for n in inf_file_names(inf) | fixed} - {n.upper() for n in unidrv}
expected |= {"README.TXT", "SHA256SUMS"}
held = sorted(n.upper() for n in files)
check(held == sorted(expected), "the archive holds %s, not %s" % (held, sorted(expected)))

sums = dict(reversed(line.split(None, 1)) for line in files.get("SHA256SUMS", b"").decode().splitlines())
check(sorted(sums) == sorted(set(files) - {"SHA256SUMS"}), "SHA256SUMS lists %s" % sorted(sums))
for name, data in files.items():
    check(name not in sums or sums[name] == hashlib.sha256(data).hexdigest(), "the sum of %s differs" % name)
    if name not in ("README.TXT", "SHA256SUMS"):
        with open(os.path.join(build, "package", name), "rb") as built:
            check(built.read() == data, "%s is not the build's own" % name)

readme = files.get("README.TXT", b"").decode("ascii")
check("version %s\r\n" % version in readme, "README.TXT does not name version %s" % version)
for name in sorted(unidrv):
    check(name in readme, "README.TXT does not name the Unidrv file %s" % name)

for failure in failures:
    print("FAILED:", failure)
print("%s: %d files, %s" % (archives[0], len(files), "wrong" if failures else "as expected"))
sys.exit(1 if failures else 0)
