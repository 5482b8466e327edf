# The Win32 program (filled in below).
