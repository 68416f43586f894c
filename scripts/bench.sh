#!/usr/bin/env bash
# Measures the program against the tools a user would compare it with, side by side in one
# run, and prints one table of ratios: the download against curl on nginx (64 and 512 MiB)
# with its peak memory growth, the copy onto a volume against cp && sync, a backup of the
# instrument's files against cp -r && sync, the start-up
# against a bare qml window, how quickly the hand-over finds a volume that appears, a
# whole update against the simulated instrument beyond its fixed timers and transfers, and
# the longest stall of the window's thread while a catalogue of 8 MiB is read, against idle.
# Figures only, no pass/fail; not part of the test command. Takes a few minutes.
# BENCH_ROUNDS=N sets the rounds of the download and copy (default 3).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
rounds=${BENCH_ROUNDS:-3}
out=$root/build/default/bench-run
mkdir -p "$out"
rows=$out/rows.txt
: >"$rows"
note() { echo "bench: $*"; }

# What the comparison needs beyond the build: nginx and the bare qml runner.
missing=()
command -v nginx >/dev/null || [ -x /usr/sbin/nginx ] || missing+=(nginx)
[ -x /usr/lib/qt6/bin/qml ] || missing+=(qml-qt6)
command -v perf >/dev/null || true
if [ ${#missing[@]} -gt 0 ]; then
    note "installing ${missing[*]}"
    sudo_=""; [ "$(id -u)" -eq 0 ] || sudo_=sudo
    $sudo_ env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends \
        "${missing[@]}" >"$out/apt.log" 2>&1 || note "could not install ${missing[*]} (see $out/apt.log)"
fi

[ -f build/default/build.ninja ] || cmake --preset default >/dev/null
cmake --build --preset default --target bench_download bench_storage bench_backup bench_startup bench_volume_watch bench_end_to_end bench_catalogue \
    Tavlo_App >"$out/build.log" 2>&1 || { tail -30 "$out/build.log"; exit 1; }
bin=$root/build/default/bench

# --- download: nginx on a loopback port with its own CA and certificate -------------------
nginx_bin=$(command -v nginx || echo /usr/sbin/nginx)
www=$out/www
ngx=$out/nginx
nginx_pid=""
declare -A ports
stop_nginx() {
    if [ -n "$nginx_pid" ]; then
        kill "$nginx_pid" 2>/dev/null || true
        wait "$nginx_pid" 2>/dev/null || true
        nginx_pid=""
    fi
}
stop_xvfb() {
    if [ -n "${xvfb_pid:-}" ]; then
        kill "$xvfb_pid" 2>/dev/null || true
        for _ in $(seq 20); do kill -0 "$xvfb_pid" 2>/dev/null || break; sleep 0.1; done
        kill -9 "$xvfb_pid" 2>/dev/null || true
        wait "$xvfb_pid" 2>/dev/null || true
        xvfb_pid=""
    fi
}
cleanup() {
    stop_nginx
    stop_xvfb
    [ -n "${volume_mounted:-}" ] && umount "$volume_dir" 2>/dev/null || true
}
trap cleanup EXIT

start_nginx() {
    [ -x "$nginx_bin" ] || return 1
    mkdir -p "$ngx/logs" "$ngx/tmp"
    if [ ! -f "$ngx/server.pem" ]; then
        openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=Tavlo bench CA" \
            -keyout "$ngx/ca.key" -out "$ngx/ca.pem" >/dev/null 2>&1
        openssl req -newkey rsa:2048 -nodes -subj "/CN=127.0.0.1" \
            -keyout "$ngx/server.key" -out "$ngx/server.csr" >/dev/null 2>&1
        printf 'subjectAltName=IP:127.0.0.1,DNS:localhost\n' >"$ngx/san.ext"
        openssl x509 -req -in "$ngx/server.csr" -CA "$ngx/ca.pem" -CAkey "$ngx/ca.key" \
            -CAcreateserial -days 2 -extfile "$ngx/san.ext" -out "$ngx/server.pem" >/dev/null 2>&1
    fi
    # One server per file size, each with its own root (the catalogue lies at /releases/).
    local servers=""
    for mib in 64 512; do
        ports[$mib]=$(python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1",0)); print(s.getsockname()[1])')
        servers+="    server { listen 127.0.0.1:${ports[$mib]} ssl; root $www/$mib;
        ssl_certificate $ngx/server.pem; ssl_certificate_key $ngx/server.key; }
"
    done
    cat >"$ngx/nginx.conf" <<CONF
worker_processes 1;
pid $ngx/nginx.pid;
error_log $ngx/logs/error.log;
events { worker_connections 64; }
http {
    access_log off;
    client_body_temp_path $ngx/tmp; proxy_temp_path $ngx/tmp; fastcgi_temp_path $ngx/tmp;
    uwsgi_temp_path $ngx/tmp; scgi_temp_path $ngx/tmp;
    sendfile on;
    types { application/json json; }
    default_type application/octet-stream;
$servers}
CONF
    "$nginx_bin" -p "$ngx" -c "$ngx/nginx.conf" -g 'daemon off;' 2>>"$ngx/logs/stderr.log" &
    nginx_pid=$!
    for _ in $(seq 50); do
        curl -s --cacert "$ngx/ca.pem" -o /dev/null "https://127.0.0.1:${ports[64]}/releases/releases.json" && return 0
        kill -0 "$nginx_pid" 2>/dev/null || return 1
        sleep 0.1
    done
    return 1
}

for mib in 64 512; do
    [ -f "$www/$mib/releases/tavlo_bench_$mib.tvq" ] || "$bin/download/bench_download" --prepare "$www/$mib" "$mib"
done
download_rounds=$rounds
if start_nginx; then
    note "nginx $("$nginx_bin" -v 2>&1 | sed 's/.*\///') on https://127.0.0.1:${ports[64]} and :${ports[512]} (its own CA and certificate, prefix $ngx)"
    for mib in 64 512; do
        r=$download_rounds; [ "$mib" -gt 64 ] && r=1
        "$bin/download/bench_download" --base "https://127.0.0.1:${ports[$mib]}" --ca "$ngx/ca.pem" \
            --size "$mib" --rounds "$r" | tee "$out/download-$mib.txt"
    done
    stop_nginx
else
    note "nginx could not be had or did not start (see $ngx/logs); using the project's own release server instead"
    for mib in 64 512; do
        r=$download_rounds; [ "$mib" -gt 64 ] && r=1
        "$bin/download/bench_download" --size "$mib" --rounds "$r" | tee "$out/download-$mib.txt"
    done
fi
grep -h '^ROW|' "$out"/download-64.txt "$out"/download-512.txt >>"$rows"

# --- copy onto a volume: a loop-mounted ext4 image as root, else a folder -----------------
volume_dir=$out/volume
volume_kind="a folder on the build disk (not root: no loop-mounted volume)"
mkdir -p "$volume_dir"
if [ "$(id -u)" -eq 0 ] && command -v mkfs.ext4 >/dev/null; then
    mountpoint -q "$volume_dir" && umount "$volume_dir"
    rm -f "$out/volume.img"
    truncate -s 256M "$out/volume.img"
    if mkfs.ext4 -q -F -L tavloupd "$out/volume.img" && mount -o loop "$out/volume.img" "$volume_dir"; then
        volume_mounted=1
        volume_kind="a loop-mounted ext4 image"
    else
        note "the ext4 image could not be loop-mounted; copying to a folder instead"
    fi
fi
note "copy onto $volume_kind at $volume_dir"
"$bin/storage/bench_storage" --volume "$volume_dir" --size 64 --rounds "$rounds" \
    --kind "${volume_kind%% (*}" | tee "$out/copy.txt"
grep -h '^ROW|' "$out/copy.txt" >>"$rows"
if [ -n "${volume_mounted:-}" ]; then umount "$volume_dir"; volume_mounted=""; fi

# --- a backup of 1 GiB of mixed files against cp -r && sync, and the second one (links) -------
"$bin/backup/bench_backup" --dir "$out" --size 1024 --rounds 1 2>"$out/backup.log" | tee "$out/backup.txt"
grep -h '^ROW|' "$out/backup.txt" >>"$rows"

# --- the volume appearing: how soon the hand-over notices it ------------------------------
"$bin/storage/bench_volume_watch" 2>"$out/volume-watch.log" | tee "$out/volume-watch.txt"
grep -h '^ROW|' "$out/volume-watch.txt" >>"$rows"

# --- a whole update, "Start Update" to the update-finish message, beyond the fixed waits ---
"$bin/endtoend/bench_end_to_end" 2>"$out/end-to-end.log" | tee "$out/end-to-end.txt"
grep -h '^ROW|' "$out/end-to-end.txt" >>"$rows"

# --- a catalogue of 8 MiB: the window's thread while it is received and read, against idle --
"$bin/catalogue/bench_catalogue" 2>"$out/catalogue.log" | tee "$out/catalogue.txt"
grep -h '^ROW|' "$out/catalogue.txt" >>"$rows"

# --- start-up under Xvfb against a bare qml ApplicationWindow ---------------------------
if [ -x "$bin/startup/bench_startup" ] && command -v Xvfb >/dev/null && [ -x /usr/lib/qt6/bin/qml ]; then
    n=$((90 + RANDOM % 400))
    while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
    display=:$n
    Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >"$out/xvfb.log" 2>&1 &
    xvfb_pid=$!
    sleep 1
    mkdir -p -m 700 "$out/runtime"
    DISPLAY=$display XDG_RUNTIME_DIR=$out/runtime "$bin/startup/bench_startup" \
        --program "$root/build/default/app/Tavlo_App" --qml /usr/lib/qt6/bin/qml \
        --rounds $((rounds + 2)) 2>"$out/startup.log" | tee "$out/startup.txt" || true
    stop_xvfb
    grep -h '^ROW|' "$out/startup.txt" >>"$rows" || true
else
    note "start-up not measured: needs Xvfb and /usr/lib/qt6/bin/qml (package qml-qt6)"
fi

# --- the table ----------------------------------------------------------------------------
echo
echo "| figure | program | anchor | ratio | goal, notes |"
echo "|---|---|---|---|---|"
while IFS='|' read -r _ figure ours theirs ratio goal; do
    echo "| $figure | $ours | $theirs | $ratio | $goal |"
done <"$rows"
echo
note "details in $out (each benchmark's own output)"
