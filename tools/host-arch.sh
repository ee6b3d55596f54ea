# Sourced: sets QUILLOTUNE_ARCH, the Windows build that runs on this host,
# unless it is set already. The program is 32-bit (i686); a host whose kernel
# runs no 32-bit code (some virtual machines refuse i386 executables) cannot
# run 32-bit Wine, so there the tests and the program run as a 64-bit build
# of the same sources (x86_64) under a 64-bit Wine.
if [ -z "${QUILLOTUNE_ARCH:-}" ]; then
    QUILLOTUNE_ARCH=x86_64
    probe_dir="$(mktemp -d)"
    # The smallest i386 program: exit(0) by the 32-bit system call.
    printf '.globl _start\n_start: movl $1, %%eax\nxorl %%ebx, %%ebx\nint $0x80\n' >"$probe_dir/p.s"
    if as --32 "$probe_dir/p.s" -o "$probe_dir/p.o" 2>/dev/null &&
        ld -m elf_i386 "$probe_dir/p.o" -o "$probe_dir/p" 2>/dev/null &&
        "$probe_dir/p" 2>/dev/null; then
        QUILLOTUNE_ARCH=i686
    fi
    rm -rf "$probe_dir"
    unset probe_dir
fi
export QUILLOTUNE_ARCH
