tsim = 1.0000e-03
td = 1.0000e-06
points = 9999999
swinit = [ 0     ]
% Circuit name : /home/user/clk

% Circuit Description
X = [ 'V1        1   0   1.0000e+00                 '   % V1
      'S1        1   2   0.0000e+00                 '   % S1
      'R1        2   0   1.0000e+00                 '   % R1
      'I01       2   0   0.0000e+00                 ' ] % Vo

% Output Description
Y = [ 'V         I01                                ' ] % Vo

% Number of nodes
numn = 4;
