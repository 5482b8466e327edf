# The Win32 program's tests under Wine (filled in with the program).
