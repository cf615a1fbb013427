tsim = 1.0000e-03
td = 1.0000e-06
points = 9999999
x0 = [ 0.0000e+00       
       0.0000e+00       
       1.0000e+00       
       2.0000e+00      ]
% Circuit name : /home/user/internal

% Circuit Description
X = [ 'Ls1       0   4   3.1830988618379067e-03             '  
      'Cs1       4   0   3.1830988618379067e-03             '  
      'E1        1   0   1.0000e+00             Cs1         '   % SIN1
      'R1        1   0   1.0000e+00                         '   % R1
      'Ri1       1   0   1.0000e+06                         '  
      'Eo1       5   0   1.0000e+05             Ri1         '  
      'Ro1       5   2   5.0000e+01                         '  
      'R2        2   0   1.0000e+00                         '   % R2
      'Ls2       0   6   1.5915494309189533e-03             '  
      'Cs2       6   0   1.5915494309189533e-03             '  
      'E2        3   0   1.0000e+00             Cs2         '   % SIN2
      'R3        3   0   1.0000e+00                         '   % R3
      'I01       3   0   0.0000e+00                         ' ] % Vo

% Output Description
Y = [ 'V         I01                                ' ] % Vo

% Number of nodes
numn = 7;
