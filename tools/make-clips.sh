#!/bin/sh
# Makes the station's voice clips with espeak-ng's Arabic voice and sox, into
# resources/voice/NAME.wav: TALABIA (order), FA0..FA100 and FA200..FA900 (the
# numbers and the hundreds), WA (and), WAJBA (meal).
#
# Every clip is RIFF/WAVE, a 16-byte fmt chunk (PCM, mono, 24000 Hz, 16 bits),
# a LIST/INFO chunk naming the clip and its word, then the data. The silence
# espeak-ng leaves around a word is trimmed to a short, even margin, so that
# clips played back to back sound like one sentence and start and end on zero.
#
# These are stand-ins: a restaurant replaces any file by a real recording of
# the same name and format (see README.md), and this script is not needed then.
set -eu
cd "$(dirname "$0")/.."
out=resources/voice
voice=${VOICE:-ar}
speed=${SPEED:-150}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

units() {
    case $1 in
        0) echo "صفر" ;; 1) echo "واحد" ;; 2) echo "اثنان" ;; 3) echo "ثلاثة" ;;
        4) echo "أربعة" ;; 5) echo "خمسة" ;; 6) echo "ستة" ;; 7) echo "سبعة" ;;
        8) echo "ثمانية" ;; 9) echo "تسعة" ;;
    esac
}

tens() {
    case $1 in
        1) echo "عشرة" ;; 2) echo "عشرون" ;; 3) echo "ثلاثون" ;; 4) echo "أربعون" ;;
        5) echo "خمسون" ;; 6) echo "ستون" ;; 7) echo "سبعون" ;; 8) echo "ثمانون" ;;
        9) echo "تسعون" ;;
    esac
}

# The Arabic words for 0..100 and for the hundreds 200..900.
number_words() {
    n=$1
    if [ "$n" -lt 10 ]; then units "$n"
    elif [ "$n" -eq 10 ]; then tens 1
    elif [ "$n" -eq 11 ]; then echo "أحد عشر"
    elif [ "$n" -eq 12 ]; then echo "اثنا عشر"
    elif [ "$n" -lt 20 ]; then echo "$(units $((n % 10))) عشر"
    elif [ "$n" -lt 100 ]; then
        if [ $((n % 10)) -eq 0 ]; then tens $((n / 10))
        else echo "$(units $((n % 10))) و$(tens $((n / 10)))"
        fi
    elif [ "$n" -eq 100 ]; then echo "مئة"
    elif [ "$n" -eq 200 ]; then echo "مئتان"
    else
        case $((n / 100)) in
            3) echo "ثلاثمئة" ;; 4) echo "أربعمئة" ;; 5) echo "خمسمئة" ;; 6) echo "ستمئة" ;;
            7) echo "سبعمئة" ;; 8) echo "ثمانمئة" ;; 9) echo "تسعمئة" ;;
        esac
    fi
}

# Little-endian 32-bit and 16-bit integers as raw bytes.
le32() {
    printf "\\$(printf %03o $(($1 & 255)))\\$(printf %03o $((($1 >> 8) & 255)))"
    printf "\\$(printf %03o $((($1 >> 16) & 255)))\\$(printf %03o $((($1 >> 24) & 255)))"
}

# One INFO sub-chunk: id, size, the text with its terminating zero, padded to even.
info_item() {
    len=$(($(printf %s "$2" | wc -c) + 1))
    printf %s "$1"
    le32 "$len"
    printf '%s\000' "$2"
    [ $((len % 2)) -eq 1 ] && printf '\000'
    return 0
}

# make_clip NAME WORDS: speaks WORDS into resources/voice/NAME.wav.
make_clip() {
    name=$1
    words=$2
    espeak-ng -v "$voice" -s "$speed" -w "$work/raw.wav" "$words"
    # Trim espeak-ng's silence, keep 40 ms before and 60 ms after the word.
    sox -V1 -D "$work/raw.wav" -r 24000 -c 1 -b 16 -e signed-integer -t wav "$work/pcm.wav" \
        silence 1 0.005 0.3% reverse silence 1 0.005 0.3% reverse pad 0.04 0.06
    # sox writes RIFF, a 16-byte fmt chunk and data: put a LIST/INFO chunk in between.
    info_item INAM "$name" >"$work/info"
    info_item ICMT "$words" >>"$work/info"
    info_item ISFT "espeak-ng $voice, sox" >>"$work/info"
    info_size=$(($(wc -c <"$work/info") + 4))
    tail -c +37 "$work/pcm.wav" >"$work/data"            # "data", size, samples
    data_size=$(wc -c <"$work/data")
    {
        printf RIFF
        le32 $((4 + 24 + 8 + info_size + data_size))
        printf WAVE
        head -c 36 "$work/pcm.wav" | tail -c +13            # the fmt chunk
        printf LIST
        le32 "$info_size"
        printf INFO
        cat "$work/info"
        cat "$work/data"
    } >"$out/$name.wav"
}

make_clip TALABIA "طلبية"
n=0
while [ $n -le 100 ]; do
    make_clip "FA$n" "$(number_words $n)"
    n=$((n + 1))
done
for h in 200 300 400 500 600 700 800 900; do
    make_clip "FA$h" "$(number_words $h)"
done
make_clip WA "و"
make_clip WAJBA "وجبة"
echo "$(ls "$out"/*.wav | wc -l) clips in $out"
