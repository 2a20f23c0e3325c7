#!/usr/bin/env bash
# The Debian package as an installer meets it: its control data and file list,
# then the service unit's own commands (ExecStartPre, ExecStart, Environment)
# run from the unpacked package with a throw-away home on a loopback port, as
# the service's manager would run them. A film from vantorel-printscu must
# come out in the home's FilmFile folder, and every run log line must also be
# on standard error, where the journal reads it.
#   deb_package_test.sh SOURCE_DIR BUILD_DIR
set -euo pipefail
source_dir=$1
build_dir=$2
bin=$build_dir/bin

work=$(mktemp -d /tmp/vantorel-deb-test.XXXXXX)
server_pid=
cleanup()
{
    if [ -n "$server_pid" ] && kill -0 "$server_pid" 2>/dev/null; then
        kill -KILL "$server_pid" 2>/dev/null || true
        wait "$server_pid" 2>/dev/null || true
    fi
    rm -rf "$work"
}
trap cleanup EXIT

fail()
{
    echo "FAIL: $*" >&2
    for file in "$work"/stderr "$work"/home/LOG/*.log; do
        [ -f "$file" ] && { echo "--- $file" >&2; tail -n 30 "$file" >&2; }
    done
    exit 1
}

# Polls a command until it succeeds; false once the given seconds have passed.
wait_for()
{
    local seconds=$1
    shift
    local deadline=$((SECONDS + seconds))
    until "$@"; do
        [ $SECONDS -lt $deadline ] || return 1
        sleep 0.2
    done
}

echo "== package (cpack -G DEB)"
(cd "$build_dir" && cpack -G DEB -B "$work/out") >"$work/cpack.log" 2>&1 ||
    { cat "$work/cpack.log" >&2; fail "cpack -G DEB failed"; }
debs=("$work"/out/vantorel_*.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || fail "no single vantorel_*.deb: ${debs[*]}"
deb=${debs[0]}

echo "== control data (dpkg-deb -I)"
dpkg-deb -I "$deb" >"$work/info" || fail "dpkg-deb -I"
field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = vantorel ] || fail "Package: $(field Package)"
version=$(field Version)
[ -n "$version" ] || fail "no Version"
depends=$(field Depends)
for package in libdcmtk17 libqt6core6 libqt6gui6 libqt6widgets6 libqt6printsupport6 \
    qt6-image-formats-plugins libqt6sql6-odbc unixodbc odbcinst odbc-mariadb fonts-noto-cjk qt6-translations-l10n adduser; do
    grep -Eq "(^|, )$package( |,|$)" <<<"$depends" || fail "Depends lacks $package: $depends"
done
recommends=$(field Recommends)
for package in mariadb-server cups; do
    grep -Eq "(^|, )$package( |,|$)" <<<"$recommends" || fail "Recommends lacks $package: $recommends"
done
for script in postinst prerm postrm; do
    grep -Eq "^ +[0-9]+ bytes, +[0-9]+ lines +\* +$script " "$work/info" ||
        fail "no executable maintainer script $script"
done

echo "== file list (dpkg-deb -c)"
dpkg-deb -c "$deb" | awk '{ print $6 }' >"$work/files"
expected=(./usr/bin/vantorel ./usr/bin/vantorel-printscu
    ./lib/systemd/system/vantorel.service ./usr/share/applications/vantorel.desktop
    ./usr/libexec/vantorel/vantorel-prepare-home ./usr/share/vantorel/sql/dbprt.sql
    ./usr/share/doc/vantorel/README.md ./usr/share/doc/vantorel/conformance.md
    ./usr/share/man/man1/vantorel.1.gz ./usr/share/man/man1/vantorel-printscu.1.gz
    ./usr/share/man/man1/vantorel-template.1.gz)
# The runtime folder goes in whole, whatever it holds, with what the build
# adds to it; so does every program of ours the build makes.
for runtime in "$source_dir/runtime" "$build_dir/runtime"; do
    [ -d "$runtime" ] || continue
    while IFS= read -r file; do
        expected+=("./usr/share/vantorel/${file#"$runtime"/}")
    done < <(find "$runtime" -type f ! -name .stamp)
done
# Benchmarks (vantorel-bench-*, built only on request) are not shipped.
for program in "$bin"/vantorel*; do
    case ${program##*/} in vantorel-bench-*) continue ;; esac
    expected+=("./usr/bin/${program##*/}")
done
for file in "${expected[@]}"; do
    grep -Fxq -- "$file" "$work/files" || fail "package lacks $file"
done
if grep -Eq '^\./(var|home|etc)/' "$work/files"; then
    fail "package ships files in /var, /home or /etc: $(grep -E '^\./(var|home|etc)/' "$work/files")"
fi

echo "== unpack (dpkg-deb -x) and the unit"
root=$work/root
dpkg-deb -x "$deb" "$root"
unit=$root/lib/systemd/system/vantorel.service
for line in User=vantorel StateDirectory=vantorel Restart=on-failure NoNewPrivileges=yes Type=notify UMask=0027 \
    ProtectSystem=strict ReadWritePaths=/var/lib/vantorel PrivateTmp=yes \
    '#AmbientCapabilities=CAP_NET_BIND_SERVICE'; do
    grep -Fxq -- "$line" "$unit" || fail "unit lacks $line"
done
grep -Eq '^ExecStart=.* --home /var/lib/vantorel --headless$' "$unit" || fail "ExecStart: $(grep ^ExecStart= "$unit")"
grep -Eq '^Exec=.*/usr/bin/vantorel --home /var/lib/vantorel"?$' "$root/usr/share/applications/vantorel.desktop" ||
    fail "desktop entry does not start the console on the service's home"

# The manual pages as a reader opens them from the package.
for page in vantorel vantorel-printscu vantorel-template; do
    file=$root/usr/share/man/man1/$page.1.gz
    if command -v man >/dev/null; then
        MANWIDTH=80 man -l "$file" >"$work/man.txt" 2>/dev/null || fail "man -l $page.1.gz"
    else
        zcat "$file" | groff -man -Tutf8 >"$work/man.txt" 2>/dev/null || fail "groff $page.1.gz"
    fi
    grep -Eq "^ +$page - " "$work/man.txt" || fail "$page.1.gz does not render its NAME: $(head -5 "$work/man.txt")"
done

"$root/usr/bin/vantorel" --version >"$work/version" || fail "--version"
grep -Fxq "vantorel $version" "$work/version" || fail "--version: $(cat "$work/version")"
grep -Eq '^DCMTK [0-9]+\.[0-9]+\.[0-9]+' "$work/version" || fail "--version without DCMTK: $(cat "$work/version")"
grep -Eq '^Qt [0-9]+\.[0-9]+\.[0-9]+' "$work/version" || fail "--version without Qt: $(cat "$work/version")"

# The unit's paths, moved into the unpacked package and the throw-away home.
home=$work/home
run=$work/run
relocate()
{
    sed -e "s#/var/lib/vantorel#$home#g" -e "s#/run/vantorel#$run#g" -e "s#/usr/#$root/usr/#g"
}
unit_values() { grep "^$1=" "$unit" | cut -d= -f2- | relocate; }
mapfile -t environment < <(unit_values Environment)
read -r -a prepare <<<"$(unit_values ExecStartPre)"
read -r -a start <<<"$(unit_values ExecStart)"
[ ${#prepare[@]} -gt 0 ] && [ ${#start[@]} -gt 0 ] || fail "unit without ExecStartPre/ExecStart"
mkdir -m 700 "$run"

echo "== first start: prepare the home, serve a film"
mkdir -p "$home"
port=$((20000 + RANDOM % 30000))
printf '[PrtIni]\r\nPort=%s\r\n' "$port" >"$home/PrtIni.ini"
env -i PATH=/usr/bin:/bin LANG=C.UTF-8 "${environment[@]}" "${prepare[@]}" || fail "ExecStartPre failed"
[ -f "$home/Skin/1.she" ] && [ -f "$home/PrtLst/PrtLst.ini" ] || fail "home not prepared: $(ls -R "$home")"
grep -q "^Port=$port" "$home/PrtIni.ini" || fail "prepare overwrote PrtIni.ini"

run_log() { cat "$home"/LOG/*.log 2>/dev/null | iconv -f GBK -t UTF-8 | tr -d '\r'; }
listening() { run_log | grep -aq "]    监听端口状态=True$"; }
port_taken() { run_log | grep -aq "]    监听端口状态=False$"; }
ended() { ! kill -0 "$server_pid" 2>/dev/null; }
started() { listening || port_taken || ended; }
# The port was free when chosen; another program may take it meanwhile.
for attempt in 1 2 3 4 5; do
    rm -rf "$home/LOG"
    # The unit's umask, as the service manager sets it.
    ( umask "$(unit_values UMask)"
      exec env -i PATH=/usr/bin:/bin LANG=C.UTF-8 TZ="${TZ:-Asia/Shanghai}" "${environment[@]}" \
        "${start[@]}" >"$work/stdout" 2>"$work/stderr" ) &
    server_pid=$!
    wait_for 60 started || fail "service did not start within 60 s"
    listening && break
    # A port that cannot be opened ends the service (status 1) for its
    # manager to restart it; here the next attempt takes another port.
    port_taken || fail "service ended at start-up"
    kill -TERM "$server_pid" 2>/dev/null || true
    wait "$server_pid" || true
    server_pid=
    port=$((20000 + RANDOM % 30000))
    printf '[PrtIni]\r\nPort=%s\r\n' "$port" >"$home/PrtIni.ini"
done
[ -n "$server_pid" ] || fail "no port could be opened in five attempts"
echo_ok() { "$bin/vantorel-printscu" --echo --no-printer --sessions 0 127.0.0.1 "$port" >/dev/null 2>&1; }
wait_for 30 echo_ok || fail "no C-ECHO answer on port $port"

"$bin/vantorel-printscu" --format 'STANDARD\2,2' --film-size 8INX10IN 127.0.0.1 "$port" \
    >"$work/printscu.log" 2>&1 || { cat "$work/printscu.log" >&2; fail "vantorel-printscu failed"; }
films=("$home"/FilmFile/*.pdf)
[ ${#films[@]} -eq 1 ] && [ -s "${films[0]}" ] || fail "no film in FilmFile: $(ls -la "$home/FilmFile" 2>&1)"
pdfinfo "${films[0]}" | grep -Eq '^Pages: +1$' || fail "film is not a one-page PDF"
# Under UMask=0027 films and logs are the service's and its group's only.
for file in "${films[0]}" "$home"/LOG/*.log; do
    [ "$(stat -c %a "$file")" = 640 ] || fail "$file has mode $(stat -c %a "$file"), not 640"
done

kill -TERM "$server_pid"
status=0
wait "$server_pid" || status=$?
server_pid=
[ $status -eq 0 ] || fail "service ended with $status on SIGTERM"

echo "== the journal: every run log line on standard error, UTF-8, one line each"
log_lines=0
while IFS= read -r line; do
    message=${line#*]    }
    # An operator message is on standard error as "title: text".
    grep -Fxq -- "$message" "$work/stderr" || grep -Fq -- ": $message" "$work/stderr" ||
        fail "run log line not on standard error: $message"
    log_lines=$((log_lines + 1))
done < <(run_log)
[ $log_lines -gt 2 ] || fail "run log has only $log_lines lines"
echo "package $deb: $log_lines run log lines, film ${films[0]##*/}"
