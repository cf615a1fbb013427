tsim = 1.0000e-03
td = 1.0000e-06
points = 9999999
% Circuit name : sub2

% Circuit Description
X = [ 'V1        3   0   3.0000e+00                 '   % V1
      'I01       4   0   0.0000e+00                 '   % Vm
      'R1        3   1   1.0000e+03                 '   % R1
      'R2        1   4   2.0000e+03                 '   % R2
      'R3        4   2   1.0000e+03                 '   % R3
      'R4        2   0   2.0000e+03                 ' ] % R4

% Output Description
Y = [ 'V         I01                                ' ] % Vm

% Number of nodes
numn = 5;
